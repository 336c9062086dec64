#include "LayoutFaults.h"
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
    void followsTheDesktopsFontSize_data();
    void followsTheDesktopsFontSize();
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

void TestMainWindow::followsTheDesktopsFontSize_data()
{
    QTest::addColumn<int>("pointSize");
    QTest::newRow("at 9 points every caption fits and nothing overlaps") << 9;
    QTest::newRow("at 14 points every caption fits and nothing overlaps") << 14;
}

void TestMainWindow::followsTheDesktopsFontSize()
{
    QFETCH(int, pointSize);
    const QFont desktopFont = QApplication::font();
    QFont sized = desktopFont;
    sized.setPointSize(pointSize);
    QApplication::setFont(sized);
    const auto restore = qScopeGuard([&] { QApplication::setFont(desktopFont); });

    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    QCOMPARE(QFontInfo(window.control(IdGenerate)->font()).pointSize(), pointSize);
    QCOMPARE(layoutFaults(window), QStringList());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
