#pragma once

#include "cli/UsageError.h"
#include "engine/GeneratorOptions.h"
#include "engine/PasswordHasher.h"
#include "engine/PasswordMaker.h"
#include "list/RecordFormat.h"
#include "slips/SlipSheet.h"

#include <QByteArray>
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>

#include <optional>

// What a run from a class list is asked beside the options every run has.
struct RosterRun
{
    // The class list; "-" is standard input. Empty: none.
    QString rosterFile;
    QString loginTemplate = QStringLiteral("{first}.{last}");
    // E-mail addresses and principal names are login@domain where the roster has none. Empty: none.
    QByteArray domain;
    // Where the accounts go in the target: --org-unit, --base-dn.
    QByteArray container;
};

// The options of class lists, of the target systems' formats and of the slips that name people.
class RosterOptions
{
public:
    RosterOptions();

    QList<QCommandLineOption> options() const { return options_; }

    // The roster, its logins and the slips' additions; a roster takes the place of --names and --usernames.
    std::optional<UsageError> read(const QCommandLineParser& parser, RosterRun& run, UsernameStyle& usernames,
                                   SlipStyle& slips) const;
    // Holds the recipe to the format's password policy, and the hashing to what the format takes.
    std::optional<UsageError> holdToFormat(const QCommandLineParser& parser, const RecordFormat& format,
                                           const std::optional<HashMethod>& hash, RosterRun& run,
                                           PasswordRecipe& recipe) const;

private:
    QList<QCommandLineOption> options_;
};
