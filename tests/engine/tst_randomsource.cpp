#include "engine/Alphabets.h"
#include "engine/RandomSource.h"

#include <QtTest>

#include <algorithm>
#include <vector>

namespace {

// More bytes than one block of the system source holds, so that refills are crossed.
constexpr std::size_t ManyBytes = 200'000;

std::vector<quint8> takeAll(RandomSource& source, std::size_t count, std::size_t wanted)
{
    std::vector<quint8> bytes;
    while (bytes.size() < count) {
        const auto taken = source.take(std::min(wanted, count - bytes.size()));
        if (taken.empty())
            return {};
        bytes.insert(bytes.end(), taken.begin(), taken.end());
    }
    return bytes;
}

} // namespace

class TestRandomSource final : public QObject
{
    Q_OBJECT

private slots:
    void systemSourceGivesAtLeastOneAndNoMoreThanWanted_data();
    void systemSourceGivesAtLeastOneAndNoMoreThanWanted();
    void systemSourceNeverRepeatsARun();
    void systemSourceRefillsWithFreshValues();
};

void TestRandomSource::systemSourceGivesAtLeastOneAndNoMoreThanWanted_data()
{
    QTest::addColumn<std::size_t>("wanted");
    QTest::newRow("one byte at a time") << std::size_t(1);
    QTest::newRow("sixteen bytes at a time") << std::size_t(16);
    QTest::newRow("more than a whole block at a time") << std::size_t(100'000);
}

void TestRandomSource::systemSourceGivesAtLeastOneAndNoMoreThanWanted()
{
    QFETCH(std::size_t, wanted);

    SystemRandomSource source;
    std::size_t total = 0;
    while (total < ManyBytes) {
        const std::size_t size = source.take(wanted).size();
        QVERIFY2(size >= 1 && size <= wanted, qPrintable(QString::number(size)));
        total += size;
    }
}

// Equal runs by chance have a probability of 86^-49 (the passwords) and 2^-8000 (the bytes).
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
    QVERIFY(takeAll(first, 1000, 1000) != takeAll(second, 1000, 1000));
}

// Each block must be new and wholly filled: every bit takes both values within any 256 consecutive bytes
// (a chance of 2^-255 per bit of a correct source failing).
void TestRandomSource::systemSourceRefillsWithFreshValues()
{
    constexpr std::size_t Window = 256;
    SystemRandomSource source;
    const std::vector<quint8> bytes = takeAll(source, ManyBytes, 4096);
    QCOMPARE(bytes.size(), ManyBytes);

    for (std::size_t start = 0; start + Window <= bytes.size(); start += Window) {
        quint8 anySet = 0;
        quint8 allSet = 0xFF;
        for (std::size_t i = start; i < start + Window; ++i) {
            anySet |= bytes[i];
            allSet &= bytes[i];
        }
        QCOMPARE(anySet, quint8(0xFF));
        QCOMPARE(allSet, quint8(0));
    }
    for (std::size_t offset = Window; offset + Window <= bytes.size(); offset += Window)
        QVERIFY(!std::equal(bytes.begin(), bytes.begin() + Window, bytes.begin() + std::ptrdiff_t(offset)));
}

QTEST_GUILESS_MAIN(TestRandomSource)
#include "tst_randomsource.moc"
