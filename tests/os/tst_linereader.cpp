#include "FailingDevice.h"
#include "os/LineReader.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArrayList readAll(QIODevice& device, qsizetype chunkSize, bool* failed = nullptr)
{
    LineReader reader(device, chunkSize);
    QByteArrayList lines;
    QByteArray line;
    while (reader.readLine(line))
        lines.append(line);
    if (failed)
        *failed = reader.hasError();
    return lines;
}

QByteArrayList readAll(const QByteArray& bytes, qsizetype chunkSize)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readAll(buffer, chunkSize);
}

} // namespace

class TestLineReader : public QObject
{
    Q_OBJECT

private slots:
    void splitsLines_data();
    void splitsLines();
    void readErrorIsToldApartFromTheEnd();
    void readsAFile();
    void readsAMillionLines();
    void refusesALineOverTheCeiling_data();
    void refusesALineOverTheCeiling();
};

void TestLineReader::splitsLines_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArrayList>("lines");

    QTest::newRow("an empty file yields no line") << QByteArray() << QByteArrayList();
    QTest::newRow("a lone line feed yields one empty line") << "\n"_ba << QByteArrayList{""_ba};
    QTest::newRow("a last line without a line feed is kept") << "a\nb"_ba << QByteArrayList{"a"_ba, "b"_ba};
    QTest::newRow("a carriage return before a line feed belongs to the line end")
        << "a\r\nb\r\n"_ba << QByteArrayList{"a"_ba, "b"_ba};
    QTest::newRow("of two carriage returns before a line feed the first stays")
        << "a\r\r\nb"_ba << QByteArrayList{"a\r"_ba, "b"_ba};
    QTest::newRow("a carriage return alone is an ordinary byte") << "a\rb\n"_ba << QByteArrayList{"a\rb"_ba};
    QTest::newRow("a carriage return ending the data is an ordinary byte") << "a\r"_ba << QByteArrayList{"a\r"_ba};
    QTest::newRow("a carriage return after a line feed starts the next line")
        << "a\n\rb"_ba << QByteArrayList{"a"_ba, "\rb"_ba};
    QTest::newRow("empty lines anywhere are kept") << "\n\r\na\n\n"_ba << QByteArrayList{""_ba, ""_ba, "a"_ba, ""_ba};
    QTest::newRow("NUL bytes and invalid UTF-8 come back untouched")
        << QByteArray("\0x\xff\n\xc3(\0", 7) << QByteArrayList{QByteArray("\0x\xff", 3), QByteArray("\xc3(\0", 3)};
}

void TestLineReader::splitsLines()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArrayList, lines);

    QCOMPARE(LineReader::splitLines(input), lines);
    // Tiny chunks put every line end, and a carriage return apart from its line feed, on a chunk border.
    for (const qsizetype chunkSize : {qsizetype(1), qsizetype(2), qsizetype(3), LineReader::DefaultChunkSize})
        QCOMPARE(readAll(input, chunkSize), lines);
}

void TestLineReader::readErrorIsToldApartFromTheEnd()
{
    FailingDevice device("first\nsecond\r\nunfinished"_ba);
    LineReader reader(device, 4);
    QByteArray line;
    QVERIFY(reader.readLine(line));
    QCOMPARE(line, "first"_ba);
    QVERIFY(reader.readLine(line));
    QCOMPARE(line, "second"_ba);
    QVERIFY(!reader.hasError());
    QVERIFY(!reader.readLine(line));
    QVERIFY(reader.hasError());
    QCOMPARE(reader.errorString(), u"Input/output error"_s);
    QVERIFY(!reader.readLine(line));

    QBuffer clean;
    clean.setData("first\nlast"_ba);
    clean.open(QIODevice::ReadOnly);
    bool failed = true;
    QCOMPARE(readAll(clean, LineReader::DefaultChunkSize, &failed), (QByteArrayList{"first"_ba, "last"_ba}));
    QVERIFY(!failed);
}

void TestLineReader::readsAFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile file(dir.filePath(u"names.txt"_s));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("alice\r\nbob\n\ncarol");
    file.close();

    QVERIFY(file.open(QIODevice::ReadOnly));
    bool failed = true;
    QCOMPARE(readAll(file, LineReader::DefaultChunkSize, &failed),
             (QByteArrayList{"alice"_ba, "bob"_ba, ""_ba, "carol"_ba}));
    QVERIFY(!failed);
}

void TestLineReader::readsAMillionLines()
{
    constexpr int count = 1'000'000;
    QByteArray input;
    input.reserve(count * 8);
    for (int i = 0; i < count; ++i) {
        input.append(QByteArray::number(i));
        input.append(i % 2 ? "\r\n" : "\n");
    }
    QBuffer buffer(&input);
    buffer.open(QIODevice::ReadOnly);
    LineReader reader(buffer);
    QByteArray line;
    int read = 0;
    while (reader.readLine(line)) {
        if (line != QByteArray::number(read))
            QFAIL(qPrintable(u"line %1 reads \"%2\""_s.arg(read).arg(QString::fromLatin1(line))));
        ++read;
    }
    QCOMPARE(read, count);
    QVERIFY(!reader.hasError());
}

void TestLineReader::refusesALineOverTheCeiling_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArrayList>("lines");
    QTest::addColumn<bool>("failed");

    const QByteArray full(LineReader::MaxLineLength, 'x');
    QTest::newRow("a line of exactly 64 KiB and its CR LF end is read")
        << "a\n"_ba + full + "\r\n"_ba + full << QByteArrayList{"a"_ba, full, full} << false;
    QTest::newRow("a line of 10 MB is refused after the lines before it")
        << "a\nb\n"_ba + QByteArray(10 * 1024 * 1024, 'x') + "\n"_ba << QByteArrayList{"a"_ba, "b"_ba} << true;
    QTest::newRow("a last line one byte over, without a line feed, is refused")
        << full + "x"_ba << QByteArrayList() << true;
}

void TestLineReader::refusesALineOverTheCeiling()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArrayList, lines);
    QFETCH(bool, failed);

    QBuffer buffer(&input);
    buffer.open(QIODevice::ReadOnly);
    LineReader reader(buffer);
    QByteArrayList got;
    for (QByteArray line; reader.readLine(line);)
        got.append(line);
    QCOMPARE(got, lines);
    QCOMPARE(reader.hasError(), failed);
    if (failed)
        QCOMPARE(reader.errorString(), u"line %1 is longer than 64 KiB"_s.arg(lines.size() + 1));
}

QTEST_GUILESS_MAIN(TestLineReader)
#include "tst_linereader.moc"
