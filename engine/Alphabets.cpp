#include "engine/Alphabets.h"

#include "engine/RandomSource.h"

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

QByteArray ComposeRandomText(qint32 length, PasswordStyle passwordStyle, QByteArrayView alphabet, RandomSource& source)
{
    if (length <= 0)
        return {};
    const bool numeric = passwordStyle == PasswordStyle::Numeric;
    const QByteArrayView pool = numeric ? QByteArrayView(Blocks::Digits) : alphabet;
    const int poolSize = static_cast<int>(pool.size());
    if (poolSize == 0)
        return {};
    QByteArray text(length, Qt::Uninitialized);
    char* out = text.data();
    for (qint32 i = 0; i < length; ++i)
        out[i] = pool[RandomBelow(poolSize, source)];
    return text;
}
