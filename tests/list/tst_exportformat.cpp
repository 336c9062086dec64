#include "engine/CredentialPair.h"
#include "list/RecordWriter.h"

#include <QTest>

#include <vector>

using namespace Qt::StringLiterals;

using Pairs = std::vector<CredentialPair>;

class TestExportFormat : public QObject
{
    Q_OBJECT

private slots:
    void writesRecordsOldestFirst_data();
    void writesRecordsOldestFirst();
    void recordBeforeOthersEndsWithItsSeparator();
    void failedSinkGetsNothingMore();
};

void TestExportFormat::writesRecordsOldestFirst_data()
{
    QTest::addColumn<Pairs>("oldestFirst");
    QTest::addColumn<SaveLayout>("layout");
    QTest::addColumn<qsizetype>("bufferSize");
    QTest::addColumn<QByteArray>("content");

    const Pairs three{{"a"_ba, "x"_ba}, {"b"_ba, "y"_ba}, {"c"_ba, "z"_ba}};
    const qsizetype large = ExportWriter::DefaultBufferSize;
    QTest::newRow("CSV puts commas between records and nothing after the last")
        << three << SaveLayout::Csv << large << "a,x,b,y,c,z"_ba;
    QTest::newRow("one per line ends every record with a line feed, the last included")
        << three << SaveLayout::OnePerLine << large << "a,x\nb,y\nc,z\n"_ba;
    QTest::newRow("CSV handed on record by record still has its commas only between records")
        << three << SaveLayout::Csv << qsizetype(1) << "a,x,b,y,c,z"_ba;

    const Pairs bare{{"a"_ba, {}}, {"b"_ba, {}}};
    QTest::newRow("CSV of passwords without usernames has no empty fields")
        << bare << SaveLayout::Csv << large << "a,b"_ba;
    QTest::newRow("one per line of passwords without usernames has no trailing comma")
        << bare << SaveLayout::OnePerLine << large << "a\nb\n"_ba;
    QTest::newRow("only the records that have a username get its comma")
        << Pairs{{"a"_ba, "x"_ba}, {"b"_ba, {}}, {"c"_ba, "z"_ba}} << SaveLayout::Csv << large << "a,x,b,c,z"_ba;
    QTest::newRow("an empty password with a username starts with the comma")
        << Pairs{{{}, "u"_ba}} << SaveLayout::Csv << large << ",u"_ba;

    QTest::newRow("a single CSV record has no separator")
        << Pairs{{"p"_ba, "u"_ba}} << SaveLayout::Csv << large << "p,u"_ba;
    QTest::newRow("a single line still ends with a line feed")
        << Pairs{{"p"_ba, "u"_ba}} << SaveLayout::OnePerLine << large << "p,u\n"_ba;
    QTest::newRow("an empty CSV list is an empty file") << Pairs{} << SaveLayout::Csv << large << QByteArray();
    QTest::newRow("an empty one-per-line list is an empty file")
        << Pairs{} << SaveLayout::OnePerLine << large << QByteArray();

    const QByteArray password("\xff\"p,\0", 5);
    const QByteArray username("u\r\n\xc3(", 5);
    QTest::newRow("non-UTF-8 bytes, quotes, commas and line ends go out unescaped")
        << Pairs{{password, username}} << SaveLayout::OnePerLine << large << password + ',' + username + '\n';
}

void TestExportFormat::writesRecordsOldestFirst()
{
    QFETCH(Pairs, oldestFirst);
    QFETCH(SaveLayout, layout);
    QFETCH(qsizetype, bufferSize);
    QFETCH(QByteArray, content);

    QByteArray written;
    ExportWriter writer(
        layout,
        [&written](QByteArrayView bytes) {
            written.append(bytes);
            return true;
        },
        bufferSize);
    for (const CredentialPair& pair : oldestFirst)
        QVERIFY(writer.add(pair.password, pair.username));
    QVERIFY(writer.flush());
    QCOMPARE(written, content);
}

// A record appended on its own, with others to follow, carries the comma between them.
void TestExportFormat::recordBeforeOthersEndsWithItsSeparator()
{
    QByteArray out;
    appendExportRecord(out, "p"_ba, "u"_ba, SaveLayout::Csv, false);
    QCOMPARE(out, "p,u,"_ba);
}

void TestExportFormat::failedSinkGetsNothingMore()
{
    int calls = 0;
    ExportWriter writer(
        SaveLayout::OnePerLine,
        [&calls](QByteArrayView) {
            ++calls;
            return false;
        },
        1);
    QVERIFY(!writer.add("a"_ba, "x"_ba));
    QVERIFY(!writer.add("b"_ba, "y"_ba));
    QVERIFY(!writer.flush());
    QCOMPARE(calls, 1);
}

QTEST_GUILESS_MAIN(TestExportFormat)
#include "tst_exportformat.moc"
