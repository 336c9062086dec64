#include <QtTest>

class Test_tst_bigview : public QObject
{
    Q_OBJECT

private slots:
    void placeholder() {}
};

QTEST_MAIN(Test_tst_bigview)
#include "tst_bigview.moc"
