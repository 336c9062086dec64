#pragma once

#include "engine/CharacterPool.h"
#include "engine/PassphraseMaker.h"
#include "engine/PasswordMaker.h"
#include "engine/RulesPasswordMaker.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>
#include <variant>

class RandomSource;

// A maker of passwords of any kind: characters by a recipe, words of a list, or a site's rules. What makes
// pairs and writes them need not know which.
class AnyPasswordMaker
{
public:
    AnyPasswordMaker(PasswordMaker maker);
    AnyPasswordMaker(PassphraseMaker maker);
    // Its random usernames are drawn from the source.
    AnyPasswordMaker(RulesPasswordMaker maker, RandomSource& source);

    // False when the source has no more secure bytes (or, by a recipe, when no password of its length can
    // qualify).
    bool makePassword(QByteArray& text);
    // A random username: a text of the password's characters and length, held to nothing more. Passphrases
    // have no characters to draw one from; their usernames come from elsewhere (numbered, a file), and this
    // leaves the text empty.
    bool makeUsername(QByteArray& text);

    // log2 of the number of different passwords the maker can make.
    double entropyBits() const;
    // Where a long password may be broken on paper without changing what is typed back: after each of a
    // passphrase's separators. Empty for the others.
    QByteArrayView separator() const;

private:
    std::variant<PasswordMaker, PassphraseMaker, RulesPasswordMaker> maker_;
    // The rules' characters, for their random usernames.
    std::optional<CharacterPool> usernamePool_;
    RandomSource* source_ = nullptr;
};
