#pragma once

#include "cli/CliOptions.h"

#include <QString>
#include <QStringList>

// The command line read: options to run with, a text to print (help, version), or a usage error.
struct CommandLine
{
    enum class Action { Generate, Print, Refuse };

    Action action = Action::Generate;
    CliOptions options;
    // What to print for Print; for Refuse, the error as "<option>: <reason>".
    QString text;
};

CommandLine parseCommandLine(const QStringList& arguments);
