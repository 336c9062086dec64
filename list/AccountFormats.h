#pragma once

#include "list/Record.h"

#include <QByteArray>
#include <QString>

// The records of the systems accounts are uploaded to, rows of the table of formats (RecordFormat.cpp).

// RFC 4180: quoted where a field holds a comma, a quote or a line end, quotes doubled.
void appendCsvField(QByteArray& out, QByteArrayView field);

// name:password:uid:gid:gecos:home:shell, as newusers reads them; it picks the ids and hashes the passwords.
void appendNewusers(QByteArray& out, const Record& record);
QString refuseForNewusers(QByteArrayView username);

void googleHeader(QByteArray& out, bool withUsernames);
void appendGoogle(QByteArray& out, const Record& record);

void entraHeader(QByteArray& out, bool withUsernames);
void appendEntra(QByteArray& out, const Record& record);

void moodleHeader(QByteArray& out, bool withUsernames);
void appendMoodle(QByteArray& out, const Record& record);

// LDIF (RFC 2849) inetOrgPerson entries; values that are not plain ASCII are base64-encoded.
void ldifHeader(QByteArray& out, bool withUsernames);
void appendLdif(QByteArray& out, const Record& record);
QString refuseForLdif(QByteArrayView username);
