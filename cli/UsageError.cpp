#include "cli/UsageError.h"

#include <QCommandLineOption>

UsageError refuse(const QString& option, const QString& reason)
{
    return {option + QStringLiteral(": ") + reason};
}

QString quoted(const QString& value)
{
    return QLatin1Char('\'') + value + QLatin1Char('\'');
}

QString longName(const QCommandLineOption& option)
{
    return QStringLiteral("--") + option.names().constLast();
}
