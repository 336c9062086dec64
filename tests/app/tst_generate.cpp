#include <QtTest>

class Test_tst_generate : public QObject
{
    Q_OBJECT

private slots:
    void placeholder() {}
};

QTEST_MAIN(Test_tst_generate)
#include "tst_generate.moc"
