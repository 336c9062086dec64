#pragma once

#include "engine/GeneratorOptions.h"
#include "engine/PasswordMaker.h"

#include <QString>
#include <QStringList>

// Everything one run of varnel-cli is asked to do.
struct CliOptions
{
    PasswordRecipe recipe;
    quint64 count = 1;
    UsernameStyle usernames = UsernameStyle::Random;
    // A name a line; "-" is standard input. Empty: no names file.
    QString namesFile;
    SaveLayout layout = SaveLayout::OnePerLine;
    // Empty: standard output.
    QString outputFile;
    bool force = false;
    bool entropy = false;
};

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
