#include "ScriptedRandomSource.h"
#include "engine/Alphabets.h"
#include "engine/RandomSource.h"

#include <QtTest>

#include <limits>
#include <vector>

namespace {

constexpr quint32 Top = std::numeric_limits<quint32>::max();
constexpr int IntMax = std::numeric_limits<int>::max();

// The first value of the incomplete run of n at the top of the 32-bit range: 2^32 - (2^32 mod n).
quint64 acceptanceLimit(int n)
{
    const quint64 range = quint64(1) << 32;
    return range - range % quint64(n);
}

// More values than one block of the system source holds, so that refills are crossed.
constexpr int ManyDraws = 5000;

} // namespace

class TestRandomSource final : public QObject
{
    Q_OBJECT

private slots:
    void acceptedValueGivesItsRemainder_data();
    void acceptedValueGivesItsRemainder();
    void valueInTheTopIncompleteRunIsDrawnAgain_data();
    void valueInTheTopIncompleteRunIsDrawnAgain();
    void resultStaysBelowN_data();
    void resultStaysBelowN();
    void oneAlwaysGivesZeroFromOneDraw();
    void systemSourceNeverRepeatsARun();
    void systemSourceRefillsWithFreshValues();
};

void TestRandomSource::acceptedValueGivesItsRemainder_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<quint32>("value");
    QTest::addColumn<int>("expected");

    QTest::newRow("0 gives 0") << 10 << 0u << 0;
    QTest::newRow("a scripted value below n gives itself") << 10 << 9u << 9;
    QTest::newRow("85 gives 85 below 86") << 86 << 85u << 85;
    QTest::newRow("n itself gives 0") << 10 << 10u << 0;
    QTest::newRow("a value of several runs gives its remainder") << 26 << 26u * 1000u + 17u << 17;
    QTest::newRow("the last value below the limit for 10 is kept and gives 9") << 10 << 4294967289u << 9;
    QTest::newRow("the last value below the limit for 86 is kept and gives 85") << 86 << 4294967279u << 85;
    QTest::newRow("for 3 every value but the very top is kept") << 3 << 4294967294u << 2;
    QTest::newRow("a power of two has no incomplete run, so the top value is kept") << 64 << Top << 63;
    QTest::newRow("2^30 keeps the top value too") << (1 << 30) << Top << (1 << 30) - 1;
    QTest::newRow("the largest int keeps the last value below its limit") << IntMax << 4294967293u << IntMax - 1;
}

void TestRandomSource::acceptedValueGivesItsRemainder()
{
    QFETCH(int, n);
    QFETCH(quint32, value);
    QFETCH(int, expected);

    ScriptedRandomSource source({value, 1});
    QCOMPARE(RandomBelow(n, source), expected);
    QCOMPARE(source.drawn, quint64(1));
}

void TestRandomSource::valueInTheTopIncompleteRunIsDrawnAgain_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QList<quint32>>("values");
    QTest::addColumn<int>("expected");

    QTest::newRow("for 10 the limit itself is drawn again") << 10 << QList<quint32>{4294967290u, 3} << 3;
    QTest::newRow("for 10 the top value is drawn again") << 10 << QList<quint32>{Top, 7} << 7;
    QTest::newRow("for 86 the limit is drawn again") << 86 << QList<quint32>{4294967280u, 5} << 5;
    QTest::newRow("for 3 the one top value is drawn again") << 3 << QList<quint32>{Top, 1} << 1;
    QTest::newRow("for the largest int both top values are drawn again")
        << IntMax << QList<quint32>{Top - 1, Top, 12345} << 12345;
    QTest::newRow("several rejected values in a row are all drawn again")
        << 10 << QList<quint32>{Top, Top - 2, 4294967290u, 4} << 4;
}

void TestRandomSource::valueInTheTopIncompleteRunIsDrawnAgain()
{
    QFETCH(int, n);
    QFETCH(QList<quint32>, values);
    QFETCH(int, expected);

    for (int i = 0; i < values.size() - 1; ++i)
        QVERIFY2(values.at(i) >= acceptanceLimit(n), "row scripts an acceptable value before the last");
    ScriptedRandomSource source(values);
    QCOMPARE(RandomBelow(n, source), expected);
    QCOMPARE(source.drawn, quint64(values.size()));
}

void TestRandomSource::resultStaysBelowN_data()
{
    QTest::addColumn<int>("n");
    for (const int n : {2, 3, 10, 26, 36, 52, 60, 62, 86, 1000, 1 << 30, IntMax - 1, IntMax})
        QTest::addRow("draws below %d never reach it", n) << n;
}

void TestRandomSource::resultStaysBelowN()
{
    QFETCH(int, n);

    const quint64 limit = acceptanceLimit(n);
    const QList<quint32> edges{
        0, quint32(n) - 1, quint32(n), 2 * quint32(n) - 1, quint32(limit - 1), quint32(limit - n)};
    ScriptedRandomSource scripted(edges);
    for (qsizetype i = 0; i < edges.size(); ++i) {
        const int result = RandomBelow(n, scripted);
        QVERIFY2(result >= 0 && result < n, qPrintable(QString::number(result)));
    }
    QCOMPARE(scripted.drawn, quint64(edges.size()));

    SystemRandomSource system;
    for (int i = 0; i < ManyDraws; ++i) {
        const int result = RandomBelow(n, system);
        QVERIFY2(result >= 0 && result < n, qPrintable(QString::number(result)));
    }
}

void TestRandomSource::oneAlwaysGivesZeroFromOneDraw()
{
    const QList<quint32> values{0, 1, 2, 12345, Top - 1, Top};
    ScriptedRandomSource source(values);
    for (qsizetype i = 0; i < values.size(); ++i)
        QCOMPARE(RandomBelow(1, source), 0);
    QCOMPARE(source.drawn, quint64(values.size()));
}

// Equal runs by chance have a probability of 86^-49 (the passwords) and 2^-32000 (the draws).
void TestRandomSource::systemSourceNeverRepeatsARun()
{
    const QByteArrayView alphabet = SelectAlphabet(LetterCase::Mixed, PasswordStyle::AlphaNumSym);
    SystemRandomSource first;
    SystemRandomSource second;
    const QByteArray firstPassword = ComposeRandomText(49, PasswordStyle::AlphaNumSym, alphabet, first);
    const QByteArray secondPassword = ComposeRandomText(49, PasswordStyle::AlphaNumSym, alphabet, second);
    QCOMPARE(firstPassword.size(), 49);
    QVERIFY(firstPassword != secondPassword);
    QVERIFY(ComposeRandomText(49, PasswordStyle::AlphaNumSym, alphabet, SystemRandomSource::instance())
            != ComposeRandomText(49, PasswordStyle::AlphaNumSym, alphabet, SystemRandomSource::instance()));

    std::vector<quint32> firstRun;
    std::vector<quint32> secondRun;
    for (int i = 0; i < 1000; ++i) {
        firstRun.push_back(first.next32());
        secondRun.push_back(second.next32());
    }
    QVERIFY(firstRun != secondRun);
}

// Each block must be new and wholly filled: every bit takes both values within any 256 consecutive draws
// (a chance of 2^-255 per bit of a correct source failing).
void TestRandomSource::systemSourceRefillsWithFreshValues()
{
    constexpr int Window = 256;
    SystemRandomSource source;
    std::vector<quint32> values(ManyDraws);
    for (quint32& value : values)
        value = source.next32();

    for (std::size_t start = 0; start + Window <= values.size(); start += Window) {
        quint32 anySet = 0;
        quint32 allSet = Top;
        for (std::size_t i = start; i < start + Window; ++i) {
            anySet |= values[i];
            allSet &= values[i];
        }
        QCOMPARE(anySet, Top);
        QCOMPARE(allSet, 0u);
    }
    for (std::size_t offset = Window; offset + Window <= values.size(); offset += Window)
        QVERIFY(!std::equal(values.begin(), values.begin() + Window, values.begin() + std::ptrdiff_t(offset)));
}

QTEST_GUILESS_MAIN(TestRandomSource)
#include "tst_randomsource.moc"
