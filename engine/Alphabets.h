#pragma once

#include "engine/GeneratorOptions.h"

#include <QByteArray>
#include <QByteArrayView>

class RandomSource;

namespace Blocks {
inline constexpr char Upper[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
inline constexpr char Lower[] = "abcdefghijklmnopqrstuvwxyz";
inline constexpr char Digits[] = "0123456789";
inline constexpr char Symbols[] = "!@#$%^&*()_+=-';:][{}.<>";
} // namespace Blocks

// The alphabet for a letter case and password style. Numeric has none of its own: its digits are drawn
// directly, and the upper-case block is returned without ever being drawn from.
QByteArrayView SelectAlphabet(LetterCase letterCase, PasswordStyle passwordStyle);

// What a text of the style is drawn from: the digits for Numeric, otherwise the alphabet.
QByteArrayView DrawnCharacters(PasswordStyle passwordStyle, QByteArrayView alphabet);

// One character per position, first to last, one draw each: a digit for Numeric, otherwise a
// character of the alphabet. A length of 0 or less, or an empty alphabet, gives the empty text and draws
// nothing; so does a source that runs out of secure bytes.
QByteArray ComposeRandomText(qint32 length, PasswordStyle passwordStyle, QByteArrayView alphabet, RandomSource& source);
