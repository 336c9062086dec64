#include <QtTest>

class Test_tst_listcommands : public QObject
{
    Q_OBJECT

private slots:
    void placeholder() {}
};

QTEST_MAIN(Test_tst_listcommands)
#include "tst_listcommands.moc"
