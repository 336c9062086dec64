#pragma once

#include <QtGlobal>

class RandomSource;

// An index below a bound too large for one byte (a word of a list), every index exactly equally likely: the
// fewest whole bytes that reach the bound are read as one number, and a number below the largest multiple of
// the bound that those bytes can hold gives its remainder. A number at or above that multiple would favour
// the small indices, so it is dropped and fresh bytes are read instead.
class UniformIndex
{
public:
    // A bound of 1 draws nothing and always gives 0; a bound of 0 is taken as 1.
    explicit UniformIndex(quint32 bound);

    quint32 bound() const { return bound_; }

    // False when the source has no more secure bytes.
    bool draw(RandomSource& source, quint32& index) const;

private:
    quint32 bound_;
    qsizetype bytes_ = 0;
    quint64 acceptBelow_ = 1;
};
