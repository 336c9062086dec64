#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// Empty when the counts pass for equally likely by Pearson's chi-square test; otherwise the statistic and the
// limit it reached. A correct generator reaches the limit with a chance below 2e-8 for 9 to 28079 degrees of
// freedom, so even a dozen such checks together raise a false alarm less than once in four million runs.
QString unequalLikelihood(const std::vector<qint64>& counts, qint64 total);

// Counts each character of text by its position in the alphabet; a character from outside the
// alphabet gives no counts at all, which fails the check.
std::vector<qint64> countByPosition(const QByteArray& text, const QByteArray& alphabet);
