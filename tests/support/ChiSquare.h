#pragma once

#include <QByteArray>

#include <vector>

// Pearson's statistic of the counts against equal likelihood.
double chiSquare(const std::vector<qint64>& counts, qint64 total);

// The value that a correct generator's statistic exceeds with probability 1e-7: the Wilson-Hilferty
// approximation (for these degrees of freedom it errs high, i.e. safe) plus 5%. Checked against the
// exact incomplete gamma function for 9 to 1351 degrees of freedom, the chance of crossing it is below
// 2e-8 each time, so even a dozen such checks together raise a false alarm less than once in four
// million runs.
double chiSquareLimit(int degreesOfFreedom);

// Counts each character of text by its position in the alphabet; a character from outside the
// alphabet gives no counts at all, which fails the check.
std::vector<qint64> countByPosition(const QByteArray& text, const QByteArray& alphabet);
