#include "engine/Alphabets.h"

#include "engine/CharacterPool.h"

namespace {
constexpr char UpperAlphabetic[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr char LowerAlphabetic[] = "abcdefghijklmnopqrstuvwxyz";
// The one irregular table entry: Mixed letters alone put the lower case first.
constexpr char MixedAlphabetic[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr char UpperAlphaNumeric[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr char LowerAlphaNumeric[] = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr char MixedAlphaNumeric[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr char UpperAlphaNumSym[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!@#$%^&*()_+=-';:][{}.<>";
constexpr char LowerAlphaNumSym[] = "abcdefghijklmnopqrstuvwxyz0123456789!@#$%^&*()_+=-';:][{}.<>";
constexpr char MixedAlphaNumSym[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789!@#$%^&*()_+=-';:][{}.<>";
} // namespace

QByteArrayView SelectAlphabet(LetterCase letterCase, PasswordStyle passwordStyle)
{
    switch (passwordStyle) {
    case PasswordStyle::Numeric:
        return Blocks::Upper;
    case PasswordStyle::Alphabetic:
        switch (letterCase) {
        case LetterCase::Upper:
            return UpperAlphabetic;
        case LetterCase::Lower:
            return LowerAlphabetic;
        case LetterCase::Mixed:
            return MixedAlphabetic;
        }
        break;
    case PasswordStyle::AlphaNumeric:
        switch (letterCase) {
        case LetterCase::Upper:
            return UpperAlphaNumeric;
        case LetterCase::Lower:
            return LowerAlphaNumeric;
        case LetterCase::Mixed:
            return MixedAlphaNumeric;
        }
        break;
    case PasswordStyle::AlphaNumSym:
        switch (letterCase) {
        case LetterCase::Upper:
            return UpperAlphaNumSym;
        case LetterCase::Lower:
            return LowerAlphaNumSym;
        case LetterCase::Mixed:
            return MixedAlphaNumSym;
        }
        break;
    }
    return Blocks::Upper;
}

QByteArrayView DrawnCharacters(PasswordStyle passwordStyle, QByteArrayView alphabet)
{
    return passwordStyle == PasswordStyle::Numeric ? QByteArrayView(Blocks::Digits) : alphabet;
}

QByteArray ComposeRandomText(qint32 length, PasswordStyle passwordStyle, QByteArrayView alphabet, RandomSource& source)
{
    const QByteArrayView characters = DrawnCharacters(passwordStyle, alphabet);
    if (length <= 0 || characters.isEmpty())
        return {};
    QByteArray text(length, Qt::Uninitialized);
    if (!CharacterPool(characters).fill(text.data(), length, source))
        return {};
    return text;
}
