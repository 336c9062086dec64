#include <QtTest>

class Test_tst_randomsource : public QObject
{
    Q_OBJECT

private slots:
    void placeholder() {}
};

QTEST_MAIN(Test_tst_randomsource)
#include "tst_randomsource.moc"
