#pragma once

#include "engine/CharacterPool.h"
#include "engine/PasswordRules.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <optional>

class RandomSource;

// What a password made to a site's rules is made of.
struct RulesRecipe
{
    PasswordRules rules;
    // The length asked for; without one, 16 held inside the rules' range.
    std::optional<qint32> length;
    // Characters taken out of every set of the rules.
    QByteArray exclude;
};

// Makes passwords that meet a site's rules, every such password equally likely: a password is drawn whole
// from all the characters the rules allow, each exactly equally likely, and drawn again until it meets the
// rules. Rules that too few of those draws would meet are refused instead of drawn from for a long time: fewer
// than one in 10,000 (LeastShare), which no site's rules come near.
class RulesPasswordMaker
{
public:
    static constexpr double LeastShare = 1e-4;

    // The maker for a recipe, or none with `error` saying why, as a user's mistake: the length lies outside
    // the rules' range, the exclusion empties a required set or every set, no password of the length meets
    // the rules, too few do, or there are more requirements than can be counted.
    static std::optional<RulesPasswordMaker> create(const RulesRecipe& recipe, RandomSource& source, QString& error);

    // A password into `text`. False when the source has no more secure bytes.
    bool makePassword(QByteArray& text);

    // log2 of the exact number of passwords that meet the rules at this length.
    double entropyBits() const { return entropyBits_; }
    qint32 length() const { return length_; }
    QByteArrayView characters() const { return pool_.characters(); }

private:
    RulesPasswordMaker(const QByteArray& characters, RandomSource& source, qint32 length, qint32 maxConsecutive);

    bool meetsRules(const QByteArray& text) const;

    CharacterPool pool_;
    RandomSource* source_;
    qint32 length_;
    qint32 maxConsecutive_;
    std::array<quint32, 256> requirementsOf_{};
    quint32 allRequirements_ = 0;
    double entropyBits_ = 0;
};
