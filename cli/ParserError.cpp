#include "cli/ParserError.h"

#include <QCommandLineParser>

// The parser names the option in quotes in its own complaints: "Missing value after '-n'."
UsageError parserError(const QCommandLineParser& parser)
{
    if (!parser.unknownOptionNames().isEmpty()) {
        const QString name = parser.unknownOptionNames().constFirst();
        return refuse((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name,
                      QStringLiteral("unknown option"));
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
