#include "engine/Roster.h"

#include <QtTest>

class TestRoster final : public QObject
{
    Q_OBJECT

private slots:
    void spreadsheetFilesAreRead_data();
    void spreadsheetFilesAreRead();
    void faultsNameTheLineAndColumn_data();
    void faultsNameTheLineAndColumn();
};

void TestRoster::spreadsheetFilesAreRead_data()
{
    QTest::addColumn<QByteArray>("file");
    // first|last|full|username|email|class|line for each person
    QTest::addColumn<QStringList>("people");

    QTest::newRow("a European spreadsheet's file: byte order mark, semicolons, CRLF, a quoted semicolon")
        << QByteArray("\xef\xbb\xbf"
                      "Vorname;Nach_Name;Klasse\r\nZoë;Ångström;4a\r\n\"Anna; Maria\";Berg;4b\r\n")
        << QStringList{QStringLiteral("Zoë|Ångström|Zoë Ångström|||4a|2"),
                       QStringLiteral("Anna; Maria|Berg|Anna; Maria Berg|||4b|3")};
    QTest::newRow("tabs, LF, odd column spellings and an ignored column")
        << QByteArray("First-Name\tSURNAME\tShoe size\tE-Mail\tLogin\nAl\tBo\t42\tal@x.org\tabo\n")
        << QStringList{QStringLiteral("Al|Bo|Al Bo|abo|al@x.org||2")};
    QTest::newRow("a full-name column is split at the last space")
        << QByteArray("Display Name,Group\nMary Jane Watson,7\n")
        << QStringList{QStringLiteral("Mary Jane|Watson|Mary Jane Watson|||7|2")};
    QTest::newRow("doubled quotes in a quoted field, and a last row without a line end")
        << QByteArray("name,username\n\"Al \"\"the\"\" Bo\",ab\nCy Do,cd")
        << QStringList{QStringLiteral("Al \"the\"|Bo|Al \"the\" Bo|ab|||2"), QStringLiteral("Cy|Do|Cy Do|cd|||3")};
    QTest::newRow("empty rows a spreadsheet leaves at the end are skipped")
        << QByteArray("first,last\r\nAl,Bo\r\n,\r\n,\r\n") << QStringList{QStringLiteral("Al|Bo|Al Bo||||2")};
}

void TestRoster::spreadsheetFilesAreRead()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, people);

    Roster roster;
    const bool read = roster.read(file);
    QVERIFY2(read, qPrintable(roster.errorString()));
    QStringList got;
    for (const RosterPerson& p : roster.people()) {
        got.append(QStringList{QString::fromUtf8(p.first), QString::fromUtf8(p.last), QString::fromUtf8(p.fullName),
                               QString::fromUtf8(p.username), QString::fromUtf8(p.email), QString::fromUtf8(p.group),
                               QString::number(p.line)}
                       .join(QLatin1Char('|')));
    }
    QCOMPARE(got, people);
}

void TestRoster::faultsNameTheLineAndColumn_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("error");

    QTest::newRow("a header without a name column")
        << QByteArray("shoe,size\n1,2\n")
        << QStringLiteral("line 1: no column of first names, last names, names or usernames in the header");
    QTest::newRow("a quote never closed names where it opened")
        << QByteArray("first,last\nAl,Bo\n\"Cy,Do\n")
        << QStringLiteral("line 3, column 1: the quote opened here is never closed");
    QTest::newRow("text after a closing quote")
        << QByteArray("first,last\nAl,\"Bo\"x\n") << QStringLiteral("line 2, column 2: text after the closing quote");
    QTest::newRow("a Latin-1 name is not taken for UTF-8")
        << QByteArray("first,last\nZo\xeb,Bo\n")
        << QStringLiteral("line 2, column 1 (first): not UTF-8 text (save the roster as UTF-8)");
    QTest::newRow("a quoted line break in a name, the row counted from where it starts")
        << QByteArray("first,last\nAl,Bo\n\"Cy\nDe\",Do\n")
        << QStringLiteral("line 3, column 1 (first): holds a control character");
    QTest::newRow("a right-to-left override in a name")
        << QByteArray("first,last\nAl,\xe2\x80\xae"
                      "ecila\n")
        << QStringLiteral("line 2, column 2 (last): holds a control character");
    QTest::newRow("more fields than the header")
        << QByteArray("first,last\nAl,Bo,Cy\n")
        << QStringLiteral("line 2, column 3: more fields than the header names");
    QTest::newRow("a row with neither a name nor a username")
        << QByteArray("first,last,class\nAl,Bo,1\n,,2\n") << QStringLiteral("line 3: neither a name nor a username");
}

void TestRoster::faultsNameTheLineAndColumn()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, error);

    Roster roster;
    QVERIFY(!roster.read(file));
    QCOMPARE(roster.errorString(), error);
}

QTEST_GUILESS_MAIN(TestRoster)
#include "tst_roster.moc"
