#pragma once

#include "engine/AnyPasswordMaker.h"
#include "engine/CredentialPair.h"
#include "engine/GeneratorOptions.h"
#include "engine/NameSet.h"
#include "engine/PasswordMaker.h"

#include <QString>

class LineReader;
class RandomSource;

// How numbered usernames are spelt: the prefix, then the number with zeros before it up to `digits`.
struct UsernameNumbering
{
    QByteArray prefix;
    int digits = 0;
    quint64 start = 1;
};

// Makes credential pairs one at a time: a batch of pairs, or one pair for every name of a line source.
// The window's Generate and import and the command line all make their pairs here.
class PairMaker
{
public:
    enum class Outcome { Making, Finished, ReadFailed, RandomFailed };

    // `count` pairs. Random usernames are drawn after their password, from the same characters but never
    // held to every class; Numbered ones are the pair's number, counted from the numbering's start (1 unless
    // told otherwise); None leaves them empty.
    PairMaker(const PasswordRecipe& recipe, UsernameStyle usernames, quint64 count, RandomSource& source,
              const UsernameNumbering& numbering = {});
    // A pair for every name that the reader gives, in order. Every line draws its password, but an empty
    // line makes no pair. A byte order mark before the first name is no part of it.
    PairMaker(const PasswordRecipe& recipe, LineReader& names, RandomSource& source);
    // The same with passwords of any kind; random usernames are the maker's.
    PairMaker(AnyPasswordMaker passwords, UsernameStyle usernames, quint64 count, RandomSource& source,
              const UsernameNumbering& numbering = {});
    PairMaker(AnyPasswordMaker passwords, LineReader& names, RandomSource& source);

    // Random usernames are drawn again until each differs from all drawn before, every username not yet
    // drawn equally likely. Each is held until the end, so this is for accounts, not for endless batches.
    void drawUniqueUsernames() { unique_ = true; }
    // How many random usernames of the recipe can be drawn unique: half of all the different ones, so that
    // no draw takes more than two tries on average.
    static quint64 uniqueUsernameLimit(const PasswordRecipe& recipe);
    // The same for usernames of `length` characters drawn from `characters` different ones (a site's rules).
    static quint64 uniqueUsernameLimit(quint64 characters, qint32 length);

    // The next pair, or false when there is none: outcome() tells whether all were made or why not.
    bool next(CredentialPair& pair);
    Outcome outcome() const { return outcome_; }
    // Why the names could not be read or the source failed.
    QString errorString() const { return errorString_; }
    // How many pairs were begun: the lines read, empty ones included, or the pairs of the batch.
    quint64 begun() const { return made_; }

private:
    bool stop(Outcome outcome, const QString& reason);
    bool nextNamed(CredentialPair& pair);

    AnyPasswordMaker passwords_;
    RandomSource& source_;
    UsernameStyle usernames_ = UsernameStyle::None;
    UsernameNumbering numbering_;
    quint64 count_ = 0;
    LineReader* names_ = nullptr;
    bool unique_ = false;
    NameSet drawn_;
    quint64 made_ = 0;
    Outcome outcome_ = Outcome::Making;
    QString errorString_;
};
