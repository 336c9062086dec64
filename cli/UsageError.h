#pragma once

#include <QString>

class QCommandLineOption;

// Why a command line is not run: a usage error, "<option>: <reason>", status 2, before anything is written.
struct UsageError
{
    QString text;
    // The line ends by pointing to --help, unless it names what was meant itself.
    bool pointsToHelp = true;
    // Not a misuse but a file the options name that cannot be read, "<file>: <reason>": status 1.
    bool unreadableFile = false;
};

UsageError refuse(const QString& option, const QString& reason);
UsageError unreadable(const QString& file, const QString& reason);
// A value as usage errors quote it: 'value'.
QString quoted(const QString& value);
// The name usage errors give an option: "--count" for -n, --count.
QString longName(const QCommandLineOption& option);
