#include "cli/ParserError.h"

#include <QCommandLineParser>

#include <algorithm>
#include <numeric>
#include <vector>

namespace {

// The fewest letters to change, insert, delete or swap with their neighbour to turn one name into the other.
qsizetype editDistance(QStringView from, QStringView to)
{
    std::vector<std::vector<qsizetype>> d(std::size_t(from.size() + 1), std::vector<qsizetype>(to.size() + 1));
    for (qsizetype i = 0; i <= from.size(); ++i)
        d[i][0] = i;
    std::iota(d[0].begin(), d[0].end(), 0);
    for (qsizetype i = 1; i <= from.size(); ++i) {
        for (qsizetype j = 1; j <= to.size(); ++j) {
            const qsizetype change = from[i - 1].toLower() == to[j - 1].toLower() ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
            const bool swapped = i > 1 && j > 1 && from[i - 1].toLower() == to[j - 2].toLower()
                && from[i - 2].toLower() == to[j - 1].toLower();
            if (swapped)
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[from.size()][to.size()];
}

// The long name nearest to an unknown one, if near enough to be what was meant: one slip in a short name, two
// in a longer one.
QString nearestName(const QString& unknown, const QList<QCommandLineOption>& known)
{
    QString nearest;
    qsizetype least = unknown.size() <= 4 ? 1 : 2;
    for (const QCommandLineOption& option : known) {
        const QString name = option.names().constLast();
        const qsizetype distance = editDistance(unknown, name);
        if (name.size() > 1 && distance <= least && (nearest.isEmpty() || distance < least)) {
            nearest = name;
            least = distance;
        }
    }
    return nearest;
}

} // namespace

// The parser names the option in quotes in its own complaints: "Missing value after '-n'."
UsageError parserError(const QCommandLineParser& parser, const QList<QCommandLineOption>& known)
{
    if (!parser.unknownOptionNames().isEmpty()) {
        const QString name = parser.unknownOptionNames().constFirst();
        const QString given = (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        const QString nearest = name.size() > 1 ? nearestName(name, known) : QString();
        if (nearest.isEmpty())
            return refuse(given, QStringLiteral("unknown option"));
        UsageError error = refuse(given, QStringLiteral("unknown option (did you mean --%1?)").arg(nearest));
        error.pointsToHelp = false;
        return error;
    }
    const QString error = parser.errorText();
    const qsizetype open = error.indexOf(QLatin1Char('\''));
    const qsizetype close = error.lastIndexOf(QLatin1Char('\''));
    if (open < 0 || close <= open)
        return refuse(QStringLiteral("command line"), error);
    QString reason = error.left(open).trimmed();
    if (reason.endsWith(QStringLiteral(" after")))
        reason.chop(6);
    return refuse(error.mid(open + 1, close - open - 1), reason.toLower());
}
