#include "list/RecordFormat.h"

#include "list/AccountFormats.h"

#include <QLatin1String>

#include <algorithm>
#include <string_view>

namespace {

bool isUtf8(QByteArrayView bytes)
{
    // ASCII, as nearly every name is, needs no decoding.
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<quint8>(c) < 0x80; }))
        return true;
    // Bytes that are not UTF-8 decode to replacement characters, which do not encode back to them.
    return QString::fromUtf8(bytes).toUtf8() == bytes;
}

void appendLine(QByteArray& out, const Record& record)
{
    appendExportRecord(out, record.password, record.username, SaveLayout::OnePerLine, true);
}

// Whether a record is the last is known only when the next one comes, so the comma goes out with that one.
void appendCsv(QByteArray& out, const Record& record)
{
    appendExportRecord(out, record.password, record.username, SaveLayout::Csv, true);
}

void appendTableField(QByteArray& out, QByteArrayView field)
{
    appendCsvField(out, field);
}

void tableHeader(QByteArray& out, bool withUsernames)
{
    out.append(withUsernames ? "username,password\r\n" : "password\r\n");
}

void appendTableRow(QByteArray& out, const Record& record)
{
    if (!record.username.isEmpty()) {
        appendTableField(out, record.username);
        out.append(',');
    }
    appendTableField(out, record.password);
    out.append("\r\n");
}

void appendChpasswd(QByteArray& out, const Record& record)
{
    out.append(record.username).append(':').append(record.password).append('\n');
}

QString refuseForChpasswd(QByteArrayView username)
{
    if (username.isEmpty())
        return QStringLiteral("a chpasswd record needs a username");
    if (username.contains(':'))
        return QStringLiteral("a username holding ':' cannot go into a chpasswd record");
    return {};
}

void appendJsonString(QByteArray& out, QByteArrayView text)
{
    static constexpr char Hex[] = "0123456789abcdef";
    out.append('"');
    for (const char c : text) {
        const auto byte = static_cast<quint8>(c);
        if (c == '"' || c == '\\') {
            out.append('\\').append(c);
        } else if (c == '\n') {
            out.append("\\n");
        } else if (c == '\r') {
            out.append("\\r");
        } else if (c == '\t') {
            out.append("\\t");
        } else if (byte < 0x20) {
            out.append("\\u00").append(Hex[byte >> 4]).append(Hex[byte & 15]);
        } else {
            out.append(c);
        }
    }
    out.append('"');
}

void appendJsonLine(QByteArray& out, const Record& record)
{
    out.append('{');
    if (!record.username.isEmpty()) {
        out.append("\"username\":");
        appendJsonString(out, record.username);
        out.append(',');
    }
    out.append("\"password\":");
    appendJsonString(out, record.password);
    out.append("}\n");
}

QString refuseForJson(QByteArrayView username)
{
    if (isUtf8(username))
        return {};
    return QStringLiteral("a username that is not valid UTF-8 cannot go into a JSON record");
}

// Without usernames the records hold the password alone.
constexpr RecordFormat Formats[] = {
    {.name = "lines",
     .description = "a record a line, the password and then a comma and the username if there is one",
     .append = appendLine},
    {.name = "csv", .description = "those records joined by commas, no line end", .between = ",", .append = appendCsv},
    {.name = "table",
     .description = "CSV for spreadsheets, a header row, then username,password a line, quoted where needed, CRLF "
                    "line ends",
     .makesAccounts = true,
     .forPeople = true,
     .forSpreadsheets = true,
     .header = tableHeader,
     .append = appendTableRow},
    {.name = "chpasswd",
     .description = "username:password a line, as chpasswd reads them (needs usernames)",
     .needsUsernames = true,
     .makesAccounts = true,
     .append = appendChpasswd,
     .refuse = refuseForChpasswd},
    {.name = "json",
     .description = "JSON Lines, {\"username\":...,\"password\":...} a line",
     .makesAccounts = true,
     .forPeople = true,
     .append = appendJsonLine,
     .refuse = refuseForJson},
    {.name = "newusers",
     .description = "name:password:::full name:/home/name:/bin/bash a line, as newusers reads them to create the "
                    "accounts (plain passwords, never a ':'; no --hash: newusers hashes them itself)",
     .needsUsernames = true,
     .makesAccounts = true,
     .forPeople = true,
     .append = appendNewusers,
     .refuse = refuseForNewusers,
     .target = "newusers",
     .policy = {.forbidden = ":"},
     .hashUse = HashUse::Refused,
     .nameForbids = ":,"},
    {.name = "google",
     .description = "Google Workspace's bulk upload CSV: first and last name, e-mail, password (or with --hash "
                    "sha512crypt its hash, 'crypt' beside it), org unit (needs --roster; at least 8 characters)",
     .needsUsernames = true,
     .makesAccounts = true,
     .forPeople = true,
     .forSpreadsheets = true,
     .header = googleHeader,
     .append = appendGoogle,
     .target = "Google Workspace",
     .policy = {.minLength = 8},
     .takesYescrypt = false,
     .needsRoster = true,
     .needsEmail = true,
     .containerOption = "org-unit",
     .containerDefault = "/"},
    {.name = "entra",
     .description = "Microsoft Entra ID's bulk create CSV: display name, user principal name, password, not "
                    "blocked, first and last name (needs --roster; 8 to 256 characters holding three of upper, "
                    "lower, digit and symbol; no --hash)",
     .needsUsernames = true,
     .makesAccounts = true,
     .forPeople = true,
     .forSpreadsheets = true,
     .header = entraHeader,
     .append = appendEntra,
     .target = "Microsoft Entra ID",
     .policy = {.minLength = 8, .maxLength = 256, .minClasses = 3},
     .hashUse = HashUse::Refused,
     .needsRoster = true,
     .needsEmail = true},
    {.name = "moodle",
     .description = "Moodle's upload users CSV: username,firstname,lastname,email,password (needs --roster; at "
                    "least 8 characters holding an upper, a lower, a digit and a symbol; no --hash)",
     .needsUsernames = true,
     .makesAccounts = true,
     .forPeople = true,
     .forSpreadsheets = true,
     .header = moodleHeader,
     .append = appendMoodle,
     .target = "Moodle",
     .policy = {.minLength = 8, .minClasses = 4},
     .hashUse = HashUse::Refused,
     .needsRoster = true,
     .needsEmail = true},
    {.name = "ldif",
     .description = "LDIF inetOrgPerson entries under --base-dn, userPassword {CRYPT} and the hash (needs "
                    "--roster and --hash)",
     .needsUsernames = true,
     .makesAccounts = true,
     .forPeople = true,
     .header = ldifHeader,
     .append = appendLdif,
     .refuse = refuseForLdif,
     .target = "an LDAP directory",
     .hashUse = HashUse::Required,
     .needsRoster = true,
     .containerOption = "base-dn"},
};

// A name that is in no row fails to compile where it is looked up.
constexpr const RecordFormat& named(std::string_view name)
{
    for (const RecordFormat& format : Formats) {
        if (name == format.name)
            return format;
    }
    throw "no record format of that name";
}

} // namespace

std::span<const RecordFormat> RecordFormat::all()
{
    return Formats;
}

const RecordFormat* RecordFormat::find(QStringView name)
{
    const auto found = std::find_if(std::begin(Formats), std::end(Formats),
                                    [name](const RecordFormat& format) { return name == QLatin1String(format.name); });
    return found == std::end(Formats) ? nullptr : found;
}

const RecordFormat& RecordFormat::forExport(SaveLayout layout)
{
    static constexpr const RecordFormat& Lines = named("lines");
    static constexpr const RecordFormat& Csv = named("csv");
    return layout == SaveLayout::Csv ? Csv : Lines;
}

const RecordFormat& RecordFormat::table()
{
    static constexpr const RecordFormat& Table = named("table");
    return Table;
}
