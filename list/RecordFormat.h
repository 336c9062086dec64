#pragma once

#include "engine/GeneratorOptions.h"
#include "list/Record.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstring>
#include <span>

// What a target system asks of a password; the passwords drawn for its format meet it by construction.
struct PasswordPolicy
{
    qint32 minLength = 0;
    // 0: no upper limit.
    qint32 maxLength = 0;
    // At least this many of the classes upper, lower, digit and symbol.
    int minClasses = 0;
    // Characters a password may not hold, or null.
    const char* forbidden = nullptr;
};

// What a format does with --hash: takes it or not, refuses it (the target hashes the passwords itself), or
// needs it (a plain password must not be stored there).
enum class HashUse { Either, Refused, Required };

// A way of writing records, one row of the table of formats: what the command line's -F takes, lists in
// --help and writes, and what the window's Save writes. Adding a format is adding a row.
struct RecordFormat
{
    // The name -F takes.
    const char* name;
    // What a record looks like, for --help; a format without one is not described there.
    const char* description = nullptr;
    // Without usernames the run is refused.
    bool needsUsernames = false;
    // Each record is an account someone will sign in to: a name may stand once, and names of the system's
    // own accounts are kept out.
    bool makesAccounts = false;
    // Read by people (or by programs that show it to them), so names must be valid UTF-8 text.
    bool forPeople = false;
    // Opened by spreadsheets, which run a cell starting with = + - @ as a formula: such names are refused
    // and the passwords are made safe for them.
    bool forSpreadsheets = false;
    // What the file starts with (a header row), or null.
    void (*header)(QByteArray& out, bool withUsernames) = nullptr;
    // What goes between two records, for formats whose records do not end themselves, or null.
    const char* between = nullptr;
    void (*append)(QByteArray& out, const Record& record);
    // Why a username cannot go into a record of the format, or empty when it can; null when any can.
    QString (*refuse)(QByteArrayView username) = nullptr;
    // The system the records are uploaded to, as usage errors name it; null for the general formats.
    const char* target = nullptr;
    PasswordPolicy policy = {};
    HashUse hashUse = HashUse::Either;
    bool takesYescrypt = true;
    // The records hold the people's names, so the run needs a roster.
    bool needsRoster = false;
    // Every record holds an e-mail address: the roster's, or login@ the --domain.
    bool needsEmail = false;
    // The option (long name) saying where the accounts go in the target, and its value when not given; a format
    // with an option and no default cannot be written without it.
    const char* containerOption = nullptr;
    const char* containerDefault = nullptr;
    // Characters the person's full name cannot hold in a record, or null.
    const char* nameForbids = nullptr;

    QString refusal(QByteArrayView username) const { return refuse ? refuse(username) : QString(); }

    // Every format, in the order --help lists them; the first is the default.
    static std::span<const RecordFormat> all();
    // Null when no format has that name.
    static const RecordFormat* find(QStringView name);
    // The window's export layouts.
    static const RecordFormat& forExport(SaveLayout layout);
    // CSV for spreadsheets, with a header row: what the plain passwords are written as.
    static const RecordFormat& table();
};

// The export file: each record is the password, then a comma and the username when there is one.
// One per line ends every record, the last included, with a line feed; CSV puts a comma between
// records and nothing after the last. Bytes go out exactly as given: no quoting, no escaping.
// Inline, with one resize for the whole record rather than an insert for each piece: a run writes millions.
inline void appendExportRecord(QByteArray& out, QByteArrayView password, QByteArrayView username, SaveLayout layout,
                               bool last)
{
    const bool ends = layout == SaveLayout::OnePerLine || !last;
    const qsizetype at = out.size();
    out.resize(at + password.size() + (username.isEmpty() ? 0 : 1 + username.size()) + (ends ? 1 : 0));
    char* to = out.data() + at;
    if (!password.isEmpty())
        std::memcpy(to, password.data(), std::size_t(password.size()));
    to += password.size();
    if (!username.isEmpty()) {
        *to++ = ',';
        std::memcpy(to, username.data(), std::size_t(username.size()));
        to += username.size();
    }
    if (ends)
        *to = layout == SaveLayout::OnePerLine ? '\n' : ',';
}
