#include "ScriptedRandomSource.h"
#include "engine/CharacterPool.h"

#include <QtTest>

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

} // namespace

class TestCharacterPool final : public QObject
{
    Q_OBJECT

private slots:
    void keptByteGivesItsRemainder_data();
    void keptByteGivesItsRemainder();
    void byteInTheTopIncompleteRunIsDrawnAgain_data();
    void byteInTheTopIncompleteRunIsDrawnAgain();
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
