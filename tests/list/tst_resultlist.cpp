#include <QtTest>

class Test_tst_resultlist : public QObject
{
    Q_OBJECT

private slots:
    void placeholder() {}
};

QTEST_MAIN(Test_tst_resultlist)
#include "tst_resultlist.moc"
