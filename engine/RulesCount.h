#pragma once

#include <QtGlobal>

#include <vector>

// Characters that meet the same requirements: in a count, any of them does what any other does.
struct CharacterGroup
{
    qint32 size = 0;
    // Bit k set: the characters meet requirement k.
    quint32 requirements = 0;
};

// How many states the count below keeps per position; its work is that times the length.
qint64 countingStates(std::size_t groups, int requirementCount, qint32 length, qint32 maxConsecutive);

// log2 of the number of texts of `length` characters from the groups that meet each of the requirements with
// at least one character and hold no character more than maxConsecutive times in a row (0: no such limit);
// -infinity when there is none. Counted, not estimated: a dynamic programme over the positions whose state is
// the requirements met so far, the last character's group and how many times it stands in a row. The counts
// outgrow every integer type, so each position's states are held in long double as shares of their sum and
// the sums' logarithms are added up: the result is exact but for the rounding of a long double (64-bit
// mantissa), far below the precision an entropy is printed with.
double log2CountOfTexts(const std::vector<CharacterGroup>& groups, int requirementCount, qint32 length,
                        qint32 maxConsecutive);
