#include "list/LookAlikeFace.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QStringList>

#include <algorithm>
#include <utility>

namespace {
const QString LookAlikes = QStringLiteral("l1IO0W");

bool lookAlikesAreEven(const QFont& font)
{
    const QFontMetricsF metrics(font);
    const qreal advance = metrics.horizontalAdvance(LookAlikes.front());
    return std::all_of(LookAlikes.begin(), LookAlikes.end(),
                       [&](QChar c) { return metrics.horizontalAdvance(c) == advance; });
}
} // namespace

QList<QFont> monospaceCandidates(int pointSize)
{
    QList<QFont> candidates{QFontDatabase::systemFont(QFontDatabase::FixedFont)};
    QStringList others;
    for (const QString& family : QFontDatabase::families()) {
        if (QFontDatabase::isFixedPitch(family))
            candidates.append(QFont(family));
        else
            others.append(family);
    }
    for (const QString& family : std::as_const(others))
        candidates.append(QFont(family));
    for (QFont& font : candidates)
        font.setPointSize(pointSize);
    return candidates;
}

QFont evenLookAlikeFace(const QList<QFont>& candidates)
{
    const auto even = std::find_if(candidates.begin(), candidates.end(), lookAlikesAreEven);
    return even != candidates.end() ? *even : candidates.value(0);
}
