#include "engine/NameSet.h"

#include <QTest>

class TestNameSet final : public QObject
{
    Q_OBJECT

private slots:
    void everyNameKeepsTheNumberItFirstCameWith_data();
    void everyNameKeepsTheNumberItFirstCameWith();
};

void TestNameSet::everyNameKeepsTheNumberItFirstCameWith_data()
{
    QTest::addColumn<QByteArray>("stem");
    QTest::addColumn<int>("count");

    QTest::newRow("a hundred thousand short names, through every growth of the table") << QByteArray("pupil") << 100000;
    QTest::newRow("names of a thousand bytes that differ only at their end") << QByteArray(1000, 'x') << 3000;
}

void TestNameSet::everyNameKeepsTheNumberItFirstCameWith()
{
    QFETCH(QByteArray, stem);
    QFETCH(int, count);

    NameSet names;
    for (int i = 1; i <= count; ++i)
        QCOMPARE(names.insert(stem + QByteArray::number(i), quint64(i)), quint64(0));
    for (int i = 1; i <= count; ++i)
        QCOMPARE(names.insert(stem + QByteArray::number(i), quint64(count + i)), quint64(i));
    QCOMPARE(names.insert(stem, 1), quint64(0));
}

QTEST_GUILESS_MAIN(TestNameSet)
#include "tst_nameset.moc"
