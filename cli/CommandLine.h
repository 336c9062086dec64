#pragma once

#include "cli/CliOptions.h"
#include "cli/UsageError.h"

#include <QString>
#include <QStringList>

// The command line read: options to run with, a text to print (help, version), or why it is not run.
struct CommandLine
{
    enum class Action { Generate, Print, Refuse };

    Action action = Action::Generate;
    CliOptions options;
    // What to print for Print.
    QString text;
    UsageError refusal;
};

CommandLine parseCommandLine(const QStringList& arguments);
