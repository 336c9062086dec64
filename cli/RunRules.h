#pragma once

#include "engine/GeneratorOptions.h"
#include "list/NameRules.h"

#include <QByteArray>
#include <QString>

#include <optional>

struct PasswordRecipe;
struct RecordFormat;

// What the names and passwords of a run must be for the files it writes: the rules of list/NameRules, and
// passwords that spreadsheets keep as they are wherever a table is written.

// The uses of the records' format, of the plain table beside them and of the slips.
NameUses nameUsesOf(const RecordFormat& format, bool plainTable, bool slips);

// Makes the passwords spreadsheet-safe where a table is written, then refuses what cannot work, as
// "<option>: <reason>": a prefix holding control characters, random usernames that may start a formula or
// that cannot be drawn all different, exclusions that leave no spreadsheet-safe password.
std::optional<QString> applyNameAndSpreadsheetRules(const NameUses& uses, UsernameStyle usernames, quint64 count,
                                                    const QByteArray& prefix, PasswordRecipe& recipe);

// The rules for every username of a run; the system's accounts are read here, unless they are let through.
NameRules nameRulesFor(const NameUses& uses, UsernameStyle usernames, bool allowSystemAccounts);

// The warning for all-digit passwords too long for a spreadsheet's numbers, or empty.
QString spreadsheetWarning(const PasswordRecipe& recipe);
