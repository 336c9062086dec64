#include "cli/UsageError.h"

#include <QCommandLineOption>

UsageError refuse(const QString& option, const QString& reason)
{
    return {option + QStringLiteral(": ") + reason};
}

UsageError unreadable(const QString& file, const QString& reason)
{
    return {file + QStringLiteral(": ") + reason, true, true};
}

QString quoted(const QString& value)
{
    return QLatin1Char('\'') + value + QLatin1Char('\'');
}

QString longName(const QCommandLineOption& option)
{
    return QStringLiteral("--") + option.names().constLast();
}
