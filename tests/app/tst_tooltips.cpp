#include <QtTest>

class Test_tst_tooltips : public QObject
{
    Q_OBJECT

private slots:
    void placeholder() {}
};

QTEST_MAIN(Test_tst_tooltips)
#include "tst_tooltips.moc"
