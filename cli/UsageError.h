#pragma once

#include <QString>

class QCommandLineOption;

// A usage error, "<option>: <reason>": the run ends with status 2 before anything is written.
struct UsageError
{
    QString text;
};

UsageError refuse(const QString& option, const QString& reason);
// A value as usage errors quote it: 'value'.
QString quoted(const QString& value);
// The name usage errors give an option: "--count" for -n, --count.
QString longName(const QCommandLineOption& option);
