#include "WindowFixture.h"
#include "list/ResultList.h"
#include "resources/Layouts.h"

#include <QAbstractButton>
#include <QtTest>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void startsWithTheDefaultsShown();
};

void TestMainWindow::startsWithTheDefaultsShown()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    if (!qEnvironmentVariableIsEmpty("VARNEL_SCREENSHOT"))
        window.grab().save(qEnvironmentVariable("VARNEL_SCREENSHOT"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Varnel"));
    QVERIFY(fixture.button(IdNumeric)->isChecked());
    QVERIFY(fixture.button(IdUpperCase)->isChecked());
    QVERIFY(fixture.button(IdRandomUsername)->isChecked());
    QVERIFY(fixture.button(IdCsv)->isChecked());
    QCOMPARE(fixture.edit(IdCharacterCount)->text(), QStringLiteral("8"));
    QCOMPARE(fixture.edit(IdPairCount)->text(), QStringLiteral("1"));
    QVERIFY(fixture.edit(IdPassword)->text().isEmpty());
    QVERIFY(fixture.edit(IdUsername)->text().isEmpty());
    QCOMPARE(QApplication::focusWidget(), window.control(IdOk));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
