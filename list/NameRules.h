#pragma once

#include "engine/NameSet.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QSet>
#include <QString>
#include <QStringView>

struct RecordFormat;

// What the names of a run go into, from the flags of every format it writes (the records', and the plain
// table's beside them) and the slips, which people read too.
struct NameUses
{
    bool makesAccounts = false;
    bool forPeople = false;
    bool forSpreadsheets = false;

    NameUses& operator|=(const RecordFormat& format);
};

// Which names a run takes, wherever they come from (a names list, random draws, numbers after a prefix):
//  - never control characters (C0, DEL), which cut records and rewrite terminals, nor the bidirectional
//    controls, which make a name read as another (U+202E "ecila" shows as "alice");
//  - for people, valid UTF-8 text only;
//  - for spreadsheets, nothing that starts with = + - @, which they run as a formula;
//  - where accounts are made, no name twice and none of the system's own accounts.
class NameRules
{
public:
    // `systemAccounts`: the names refused where accounts are made (none when they are let through).
    // `refuseRepeats`: whether to look for a name given twice, as only a names list can give one.
    NameRules(const NameUses& uses, QSet<QByteArray> systemAccounts, bool refuseRepeats);

    // Why the name of that line cannot go where the run puts it, or empty when it can, the name called `what`
    // there. A name that can is remembered, for the duplicates of later lines.
    QString refusal(const QByteArray& name, quint64 line, QStringView what = u"a username");

    // Why a text holding control characters cannot go into usernames: "<what> holding the control character
    // 0x1B is refused"; empty when it holds none.
    static QString controlRefusal(QByteArrayView text, QStringView what);

private:
    NameUses uses_;
    QSet<QByteArray> systemAccounts_;
    bool refuseRepeats_;
    NameSet linesOfNames_;
};
