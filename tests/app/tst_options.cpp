#include <QtTest>

class Test_tst_options : public QObject
{
    Q_OBJECT

private slots:
    void placeholder() {}
};

QTEST_MAIN(Test_tst_options)
#include "tst_options.moc"
