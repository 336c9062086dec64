#include "ScriptedRandomSource.h"
#include "engine/CharacterPool.h"

#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>
#include <array>
#include <stdexcept>

namespace {

// The characters are the byte values 0, 1, ... n - 1, so that each character drawn is its own position.
CharacterPool positions(int n)
{
    QByteArray characters(n, Qt::Uninitialized);
    for (int i = 0; i < n; ++i)
        characters[i] = static_cast<char>(i);
    return CharacterPool(characters);
}

int drawOne(const CharacterPool& pool, ScriptedRandomSource& source)
{
    char picked = 0;
    if (!pool.fill(&picked, 1, source))
        return -1;
    return static_cast<quint8>(picked);
}

// Bytes of a seeded generator in spans of at most `span`, taking back what a draw gives back, as the system
// source does.
class TakingBackSource final : public RandomSource
{
public:
    TakingBackSource(std::size_t span, quint32 seed) : RandomSource(true), span_(span)
    {
        QRandomGenerator generator(seed);
        for (quint8& byte : bytes)
            byte = static_cast<quint8>(generator.bounded(256));
    }
    std::span<const quint8> take(std::size_t wanted) override
    {
        next_ -= givenBack_;
        givenBack_ = 0;
        const std::size_t count = std::min({wanted, span_, bytes.size() - next_});
        next_ += count;
        return {bytes.data() + next_ - count, count};
    }
    QString errorString() const override { return {}; }
    // The first byte not yet used.
    std::size_t used() const { return next_ - givenBack_; }

    std::array<quint8, 200'000> bytes{};

private:
    std::size_t span_;
    std::size_t next_ = 0;
};

} // namespace

class TestCharacterPool final : public QObject
{
    Q_OBJECT

private slots:
    void keptByteGivesItsRemainder_data();
    void keptByteGivesItsRemainder();
    void byteInTheTopIncompleteRunIsDrawnAgain_data();
    void byteInTheTopIncompleteRunIsDrawnAgain();
    void aSourceThatTakesBackGetsBackWhatTheTextDidNotUse_data();
    void aSourceThatTakesBackGetsBackWhatTheTextDidNotUse();
    void sourceWithoutBytesLeavesTheTextUnfinished();
    void poolOfNoneOrOver256CharactersIsRefused();
};

void TestCharacterPool::keptByteGivesItsRemainder_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<quint32>("byte");
    QTest::addColumn<int>("expected");

    QTest::newRow("0 picks the first character") << 10 << 0u << 0;
    QTest::newRow("85 picks the last of 86") << 86 << 85u << 85;
    QTest::newRow("n itself picks the first character again") << 10 << 10u << 0;
    QTest::newRow("a byte of several runs gives its remainder") << 26 << 26u * 5u + 17u << 17;
    QTest::newRow("249, the last byte below the limit for 10, is kept and picks 9") << 10 << 249u << 9;
    QTest::newRow("171, the last byte below the limit for 86, is kept and picks 85") << 86 << 171u << 85;
    QTest::newRow("a power of two has no incomplete run, so the top byte is kept") << 64 << 255u << 63;
    QTest::newRow("256 characters keep every byte as it is") << 256 << 255u << 255;
    QTest::newRow("one character is picked by every byte") << 1 << 255u << 0;
}

void TestCharacterPool::keptByteGivesItsRemainder()
{
    QFETCH(int, n);
    QFETCH(quint32, byte);
    QFETCH(int, expected);

    ScriptedRandomSource source({byte, 1});
    QCOMPARE(drawOne(positions(n), source), expected);
    QCOMPARE(source.drawn, quint64(1));
}

void TestCharacterPool::byteInTheTopIncompleteRunIsDrawnAgain_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QList<quint32>>("bytes");
    QTest::addColumn<int>("expected");

    QTest::newRow("for 10 the limit 250 is drawn again") << 10 << QList<quint32>{250, 3} << 3;
    QTest::newRow("for 10 the top byte is drawn again") << 10 << QList<quint32>{255, 7} << 7;
    QTest::newRow("for 86 the limit 172 is drawn again") << 86 << QList<quint32>{172, 5} << 5;
    QTest::newRow("for 3 the one top byte is drawn again") << 3 << QList<quint32>{255, 1} << 1;
    QTest::newRow("for 129 every byte from 129 on is drawn again") << 129 << QList<quint32>{129, 128} << 128;
    QTest::newRow("several dropped bytes in a row are all drawn again") << 10 << QList<quint32>{255, 252, 250, 4} << 4;
}

void TestCharacterPool::byteInTheTopIncompleteRunIsDrawnAgain()
{
    QFETCH(int, n);
    QFETCH(QList<quint32>, bytes);
    QFETCH(int, expected);

    ScriptedRandomSource source(bytes);
    QCOMPARE(drawOne(positions(n), source), expected);
    QCOMPARE(source.drawn, quint64(bytes.size()));
}

void TestCharacterPool::aSourceThatTakesBackGetsBackWhatTheTextDidNotUse_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("span");

    QTest::newRow("62 characters, 16 long, as the command line makes them") << 62 << 16 << 65536;
    QTest::newRow("86 characters drop a third of the bytes, 49 long as the window's longest") << 86 << 49 << 65536;
    QTest::newRow("129 characters drop almost half of the bytes") << 129 << 40 << 65536;
    QTest::newRow("10 digits, 8 long") << 10 << 8 << 65536;
    QTest::newRow("a power of two drops nothing and gives nothing back") << 64 << 16 << 65536;
    QTest::newRow("64 of 64 characters fill a text from exactly as many bytes") << 64 << 64 << 65536;
    QTest::newRow("one character") << 1 << 20 << 65536;
    QTest::newRow("256 characters keep every byte") << 256 << 70 << 65536;
    QTest::newRow("a text of 1024 characters takes many rounds") << 62 << 1024 << 65536;
    QTest::newRow("spans of 3 bytes, as where the random block ends") << 62 << 100 << 3;
}

// Every text is what one byte at a time gives, and the source is left at the byte after the last one used.
void TestCharacterPool::aSourceThatTakesBackGetsBackWhatTheTextDidNotUse()
{
    QFETCH(int, n);
    QFETCH(int, length);
    QFETCH(int, span);

    const CharacterPool pool = positions(n);
    TakingBackSource source(std::size_t(span), quint32(n * 10'000 + length));
    const auto acceptBelow = static_cast<unsigned>(256 - 256 % n);
    std::size_t expectedNext = 0;
    for (int text = 0; text < 100; ++text) {
        QByteArray expected;
        while (expected.size() < length) {
            const quint8 byte = source.bytes[expectedNext++];
            if (byte < acceptBelow)
                expected.append(static_cast<char>(byte % n));
        }
        QByteArray drawn(length, '-');
        QVERIFY(pool.fill(drawn.data(), length, source));
        QCOMPARE(drawn, expected);
        QCOMPARE(source.used(), expectedNext);
    }
}

void TestCharacterPool::sourceWithoutBytesLeavesTheTextUnfinished()
{
    ScriptedRandomSource source;
    source.failAfter = 3;
    QByteArray text(8, '-');
    QVERIFY(!positions(10).fill(text.data(), text.size(), source));
    QCOMPARE(source.drawn, quint64(3));
}

// A release build too: an empty pool would divide by zero, a larger one leave characters never drawn.
void TestCharacterPool::poolOfNoneOrOver256CharactersIsRefused()
{
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, CharacterPool{QByteArrayView{}});
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, CharacterPool{QByteArray(257, 'a')});
}

QTEST_GUILESS_MAIN(TestCharacterPool)
#include "tst_characterpool.moc"
