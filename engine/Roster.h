#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <vector>

// One person of a class list. Every text is UTF-8, trimmed; what the roster did not give is empty.
struct RosterPerson
{
    QByteArray first;
    QByteArray last;
    QByteArray fullName;
    // Given in the roster, or made from the names (see LoginName.h).
    QByteArray username;
    QByteArray email;
    QByteArray group;
    // Where the person's row starts in the file, counting from 1 (the header).
    qsizetype line = 0;
    bool usernameGiven = false;
};

// A class list as spreadsheets save it: CSV with a header row, UTF-8 with or without a byte order mark, CRLF
// or LF line ends, RFC 4180 quoting, the delimiter (comma, semicolon or TAB) the one the header line holds
// most of. Columns are known by name, case, spaces, '_' and '-' aside; the others are left alone.
class Roster
{
public:
    // False when the file is not such a roster; errorString() then names the line and the column.
    bool read(QByteArrayView bytes);

    std::vector<RosterPerson>& people() { return people_; }
    const std::vector<RosterPerson>& people() const { return people_; }
    QString errorString() const { return errorString_; }

private:
    std::vector<RosterPerson> people_;
    QString errorString_;
};
