#pragma once

#include "engine/CharacterPool.h"
#include "engine/GeneratorOptions.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <array>

class RandomSource;

// What a password is made of.
struct PasswordRecipe
{
    PasswordStyle style = PasswordStyle::Numeric;
    LetterCase letterCase = LetterCase::Upper;
    qint32 length = 8;
    // Leaves the look-alikes 0, O, 1, l and I out of the characters.
    bool excludeSimilar = false;
    // Holds every password to at least one character of each class its characters have (upper-case
    // letters, lower-case letters, digits, symbols).
    bool everyClass = false;
    // Characters left out as well; those the alphabet does not hold change nothing.
    QByteArray exclude;
    // For files a spreadsheet opens: never starts with = + - @ (read as a formula) or ' (taken as a
    // marker and hidden), and an all-digit password never starts with 0 (read as a number, the 0 lost).
    bool spreadsheetSafe = false;
    // Holds every password to characters of at least this many classes (of those its characters have), as
    // systems that ask for "three of upper, lower, digit and symbol" do.
    int minClasses = 0;
};

// The recipe that the window's options give.
PasswordRecipe recipeFrom(const GeneratorOptions& options);

// Makes passwords (and texts of the same characters) by a recipe, drawing from a source.
class PasswordMaker
{
public:
    // What excludeSimilar leaves out.
    static constexpr char LookAlikes[] = "0O1lI";

    PasswordMaker(const PasswordRecipe& recipe, RandomSource& source);

    // How many of the four classes the recipe's characters have; a password held to every class needs
    // at least that many characters.
    static int classCount(const PasswordRecipe& recipe);
    // The characters a text is drawn from, every exclusion applied; empty when none is left.
    static QByteArray charactersOf(const PasswordRecipe& recipe);
    // The classes whose every character was excluded: a password held to every class cannot have them.
    static int emptiedClassCount(const PasswordRecipe& recipe);
    // The excluded characters that the recipe's characters never held, each once, in the order given.
    static QByteArray absentExclusions(const PasswordRecipe& recipe);
    // The characters a password may start with: those of charactersOf, less what a spreadsheet-safe
    // password may not start with.
    static QByteArray firstCharactersOf(const PasswordRecipe& recipe);

    QByteArrayView characters() const { return pool_.characters(); }

    // A password into `text`, resized to the recipe's length. Held to classes (or kept safe for
    // spreadsheets), the whole password is drawn again until it qualifies, so that every qualifying password
    // is equally likely. False when the source has no more secure bytes, or when no password of the length
    // can qualify.
    bool makePassword(QByteArray& text);
    // A text of the same characters and length, held to nothing more (a random username). Inline, for it makes
    // the plain passwords too, millions a run; resized only to a new length, as Qt's resize is a call.
    bool makeText(QByteArray& text)
    {
        const qint32 length = std::max(length_, 0);
        if (text.size() != length)
            text.resize(length);
        return pool_.fill(text.data(), length, source_);
    }

    // log2 of the number of different passwords the recipe can make (when it can make any).
    double entropyBits() const;

private:
    bool holdsEnoughClasses(const QByteArray& text) const;
    bool qualifies(const QByteArray& text) const;

    CharacterPool pool_;
    CharacterPool firstPool_;
    RandomSource& source_;
    qint32 length_;
    // How many classes a password must hold: all present ones when held to every class.
    int requiredClasses_;
    bool spreadsheetSafe_;
    bool anySafePassword_ = false;
    std::array<quint8, 256> classOf_{};
    quint8 classesPresent_ = 0;
};
