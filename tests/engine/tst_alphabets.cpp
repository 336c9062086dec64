#include <QtTest>

class Test_tst_alphabets : public QObject
{
    Q_OBJECT

private slots:
    void placeholder() {}
};

QTEST_MAIN(Test_tst_alphabets)
#include "tst_alphabets.moc"
