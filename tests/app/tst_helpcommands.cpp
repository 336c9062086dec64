#include <QtTest>

class Test_tst_helpcommands : public QObject
{
    Q_OBJECT

private slots:
    void placeholder() {}
};

QTEST_MAIN(Test_tst_helpcommands)
#include "tst_helpcommands.moc"
