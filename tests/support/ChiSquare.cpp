#include "ChiSquare.h"

#include <cmath>

namespace {

// Pearson's statistic of the counts against equal likelihood.
double chiSquare(const std::vector<qint64>& counts, qint64 total)
{
    const double expected = double(total) / double(counts.size());
    double sum = 0;
    for (const qint64 count : counts) {
        const double d = double(count) - expected;
        sum += d * d / expected;
    }
    return sum;
}

// The value that a correct generator's statistic exceeds with probability 1e-7: the Wilson-Hilferty
// approximation (for these degrees of freedom it errs high, i.e. safe) plus 5%, checked against the exact
// incomplete gamma function.
double chiSquareLimit(int degreesOfFreedom)
{
    constexpr double z = 5.199337582192817; // upper 1e-7 point of the standard normal distribution
    const double a = 2.0 / (9.0 * degreesOfFreedom);
    const double root = 1.0 - a + z * std::sqrt(a);
    return 1.05 * degreesOfFreedom * root * root * root;
}

} // namespace

QString unequalLikelihood(const std::vector<qint64>& counts, qint64 total)
{
    const double statistic = chiSquare(counts, total);
    const double limit = chiSquareLimit(int(counts.size()) - 1);
    if (statistic < limit)
        return {};
    return QStringLiteral("chi-square %1 reaches the limit %2").arg(statistic).arg(limit);
}

std::vector<qint64> countByPosition(const QByteArray& text, const QByteArray& alphabet)
{
    std::vector<qint64> counts(static_cast<std::size_t>(alphabet.size()), 0);
    for (const char c : text) {
        const qsizetype position = alphabet.indexOf(c);
        if (position < 0)
            return {};
        ++counts[static_cast<std::size_t>(position)];
    }
    return counts;
}
