#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>

// The names of the machine's own accounts, which a list of people must not take over: root always, and every
// account of the passwd file whose uid lies outside the range login.defs gives ordinary users, UID_MIN to
// UID_MAX (1000 to 60000 where it names none), as daemon (1) and nobody (65534) do. A file that cannot be read
// adds nothing.
QSet<QByteArray> systemAccountNames(const QString& passwdFile = QStringLiteral("/etc/passwd"),
                                    const QString& loginDefsFile = QStringLiteral("/etc/login.defs"));
