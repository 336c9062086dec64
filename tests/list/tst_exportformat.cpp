#include "list/ExportFormat.h"

#include <QTest>

using namespace Qt::StringLiterals;

using Pairs = std::vector<CredentialPair>;

class TestExportFormat : public QObject
{
    Q_OBJECT

private slots:
    void writesFileContent_data();
    void writesFileContent();
    void writesOneRecord_data();
    void writesOneRecord();
};

void TestExportFormat::writesFileContent_data()
{
    QTest::addColumn<Pairs>("oldestFirst");
    QTest::addColumn<SaveLayout>("layout");
    QTest::addColumn<QByteArray>("content");

    const Pairs three{{"a"_ba, "x"_ba}, {"b"_ba, "y"_ba}, {"c"_ba, "z"_ba}};
    QTest::newRow("CSV puts commas between records and nothing after the last")
        << three << SaveLayout::Csv << "a,x,b,y,c,z"_ba;
    QTest::newRow("one per line ends every record with a line feed, the last included")
        << three << SaveLayout::OnePerLine << "a,x\nb,y\nc,z\n"_ba;

    const Pairs bare{{"a"_ba, {}}, {"b"_ba, {}}};
    QTest::newRow("CSV of passwords without usernames has no empty fields") << bare << SaveLayout::Csv << "a,b"_ba;
    QTest::newRow("one per line of passwords without usernames has no trailing comma")
        << bare << SaveLayout::OnePerLine << "a\nb\n"_ba;
    QTest::newRow("only the records that have a username get its comma")
        << Pairs{{"a"_ba, "x"_ba}, {"b"_ba, {}}, {"c"_ba, "z"_ba}} << SaveLayout::Csv << "a,x,b,c,z"_ba;

    QTest::newRow("a single CSV record has no separator") << Pairs{{"p"_ba, "u"_ba}} << SaveLayout::Csv << "p,u"_ba;
    QTest::newRow("a single line still ends with a line feed")
        << Pairs{{"p"_ba, "u"_ba}} << SaveLayout::OnePerLine << "p,u\n"_ba;
    QTest::newRow("an empty CSV list is an empty file") << Pairs{} << SaveLayout::Csv << QByteArray();
    QTest::newRow("an empty one-per-line list is an empty file") << Pairs{} << SaveLayout::OnePerLine << QByteArray();

    const QByteArray password("\xff\"p,\0", 5);
    const QByteArray username("u\r\n\xc3(", 5);
    QTest::newRow("non-UTF-8 bytes, quotes, commas and line ends go out unescaped")
        << Pairs{{password, username}} << SaveLayout::OnePerLine << password + ',' + username + '\n';
}

void TestExportFormat::writesFileContent()
{
    QFETCH(Pairs, oldestFirst);
    QFETCH(SaveLayout, layout);
    QFETCH(QByteArray, content);

    QCOMPARE(exportFileContent(oldestFirst, layout), content);
}

void TestExportFormat::writesOneRecord_data()
{
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<QByteArray>("username");
    QTest::addColumn<SaveLayout>("layout");
    QTest::addColumn<bool>("last");
    QTest::addColumn<QByteArray>("record");

    QTest::newRow("a CSV record before others ends with a comma") << "p"_ba
                                                                  << "u"_ba << SaveLayout::Csv << false << "p,u,"_ba;
    QTest::newRow("the last CSV record ends with its username") << "p"_ba
                                                                << "u"_ba << SaveLayout::Csv << true << "p,u"_ba;
    QTest::newRow("a line record ends with a line feed wherever it is")
        << "p"_ba
        << ""_ba << SaveLayout::OnePerLine << false << "p\n"_ba;
    QTest::newRow("an empty password with a username starts with the comma")
        << ""_ba
        << "u"_ba << SaveLayout::Csv << true << ",u"_ba;
}

void TestExportFormat::writesOneRecord()
{
    QFETCH(QByteArray, password);
    QFETCH(QByteArray, username);
    QFETCH(SaveLayout, layout);
    QFETCH(bool, last);
    QFETCH(QByteArray, record);

    QCOMPARE(exportRecord(password, username, layout, last), record);
}

QTEST_GUILESS_MAIN(TestExportFormat)
#include "tst_exportformat.moc"
