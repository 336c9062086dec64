#include <QtTest>

class Test_tst_startup : public QObject
{
    Q_OBJECT

private slots:
    void placeholder() {}
};

QTEST_MAIN(Test_tst_startup)
#include "tst_startup.moc"
