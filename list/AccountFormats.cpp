#include "list/AccountFormats.h"

#include <algorithm>

namespace {

void appendCsvRow(QByteArray& out, std::initializer_list<QByteArrayView> fields)
{
    bool first = true;
    for (const QByteArrayView field : fields) {
        if (!first)
            out.append(',');
        appendCsvField(out, field);
        first = false;
    }
    out.append("\r\n");
}

// RFC 2849's SAFE-STRING: ASCII without NUL, CR or LF, not starting with a space, ':' or '<', and (as it
// advises) not ending with a space.
bool isSafeLdifValue(QByteArrayView value)
{
    if (value.isEmpty())
        return true;
    if (value.front() == ' ' || value.front() == ':' || value.front() == '<' || value.back() == ' ')
        return false;
    return std::all_of(value.begin(), value.end(),
                       [](char c) { return c != 0 && c != '\n' && c != '\r' && quint8(c) < 0x80; });
}

void appendLdifLine(QByteArray& out, const char* attribute, QByteArrayView value, QByteArrayView prefix = {})
{
    out.append(attribute);
    if (isSafeLdifValue(value) && isSafeLdifValue(prefix)) {
        out.append(": ").append(prefix).append(value);
    } else {
        QByteArray whole = prefix.toByteArray();
        whole.append(value);
        out.append(":: ").append(whole.toBase64());
    }
    out.append('\n');
}

} // namespace

void appendCsvField(QByteArray& out, QByteArrayView field)
{
    const bool quoted =
        std::any_of(field.begin(), field.end(), [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; });
    if (!quoted) {
        out.append(field);
        return;
    }
    out.append('"');
    for (const char c : field) {
        if (c == '"')
            out.append('"');
        out.append(c);
    }
    out.append('"');
}

void appendNewusers(QByteArray& out, const Record& record)
{
    out.append(record.username).append(':').append(record.password).append(":::").append(record.fullName);
    out.append(":/home/").append(record.username).append(":/bin/bash\n");
}

QString refuseForNewusers(QByteArrayView username)
{
    if (username.isEmpty())
        return QStringLiteral("a newusers record needs a username");
    if (username.contains(':') || username.contains('/'))
        return QStringLiteral("a username holding ':' or '/' cannot go into a newusers record");
    return {};
}

void googleHeader(QByteArray& out, bool)
{
    out.append("First Name [Required],Last Name [Required],Email Address [Required],Password [Required],"
               "Password Hash Function [UPLOAD ONLY],Org Unit Path [Required]\r\n");
}

void appendGoogle(QByteArray& out, const Record& record)
{
    appendCsvRow(out,
                 {record.first, record.last, record.email, record.password,
                  record.hashed ? QByteArrayView("crypt") : QByteArrayView(), record.container});
}

void entraHeader(QByteArray& out, bool)
{
    out.append("version:v1.0\r\nName [displayName] Required,User name [userPrincipalName] Required,"
               "Initial password [passwordProfile] Required,Block sign in (Yes/No) [accountEnabled] Required,"
               "First name [givenName],Last name [surname]\r\n");
}

void appendEntra(QByteArray& out, const Record& record)
{
    appendCsvRow(out, {record.fullName, record.email, record.password, "No", record.first, record.last});
}

void moodleHeader(QByteArray& out, bool)
{
    out.append("username,firstname,lastname,email,password\r\n");
}

void appendMoodle(QByteArray& out, const Record& record)
{
    appendCsvRow(out, {record.username, record.first, record.last, record.email, record.password});
}

void ldifHeader(QByteArray& out, bool)
{
    out.append("version: 1\n");
}

void appendLdif(QByteArray& out, const Record& record)
{
    out.append('\n');
    QByteArray dn("uid=");
    dn.append(record.username).append(',').append(record.container);
    appendLdifLine(out, "dn", dn);
    out.append("objectClass: top\nobjectClass: person\nobjectClass: organizationalPerson\n"
               "objectClass: inetOrgPerson\n");
    appendLdifLine(out, "cn", record.fullName.isEmpty() ? record.username : record.fullName);
    appendLdifLine(out, "sn",
                   record.last.isEmpty() ? (record.fullName.isEmpty() ? record.username : record.fullName)
                                         : record.last);
    if (!record.first.isEmpty())
        appendLdifLine(out, "givenName", record.first);
    appendLdifLine(out, "uid", record.username);
    if (!record.email.isEmpty())
        appendLdifLine(out, "mail", record.email);
    appendLdifLine(out, "userPassword", record.password, "{CRYPT}");
}

QString refuseForLdif(QByteArrayView username)
{
    if (username.isEmpty())
        return QStringLiteral("an LDIF entry needs a username");
    const bool special = std::any_of(username.begin(), username.end(), [](char c) {
        return QByteArrayView(",+\"\\<>;=#").contains(c) || quint8(c) < 0x20;
    });
    if (special || username.front() == ' ' || username.back() == ' ')
        return QStringLiteral("a username holding , + \" \\ < > ; = # or spaces at its ends cannot name an LDIF entry");
    return {};
}
