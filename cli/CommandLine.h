#pragma once

#include "cli/RosterOptions.h"
#include "engine/GeneratorOptions.h"
#include "engine/PairMaker.h"
#include "engine/PasswordHasher.h"
#include "engine/PasswordMaker.h"
#include "list/RecordFormat.h"
#include "slips/SlipSheet.h"

#include <QString>
#include <QStringList>

#include <optional>

// Everything one run of varnel-cli is asked to do.
struct CliOptions
{
    // 16 characters, letters of both cases and digits, unless told otherwise.
    PasswordRecipe recipe = {PasswordStyle::AlphaNumeric, LetterCase::Mixed, 16, false, false, {}};
    quint64 count = 1;
    UsernameStyle usernames = UsernameStyle::None;
    UsernameNumbering numbering;
    // A name a line; "-" is standard input. Empty: no names file.
    QString namesFile;
    const RecordFormat* format = &RecordFormat::all().front();
    // Empty: standard output.
    QString outputFile;
    bool force = false;
    // root and the system's other accounts may be among the usernames of accounts.
    bool allowSystemAccounts = false;
    bool entropy = false;
    // The records carry the hash of each password; the plain passwords go to the plain file or the slips.
    std::optional<HashMethod> hash;
    // The same accounts as plain table records. Empty: none.
    QString plainFile;
    // The slips PDF. Empty: none.
    QString slipsFile;
    SlipStyle slips;
    RosterRun roster;
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
