#include "LayoutFaults.h"
#include "WindowFixture.h"
#include "list/ResultList.h"
#include "resources/Layouts.h"

#include <QAbstractButton>
#include <QWindow>
#include <QtTest>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void startsWithTheDefaultsShown();
    void followsTheDesktopsFontSize_data();
    void followsTheDesktopsFontSize();
    void maximizeRequestsLeaveTheWindowAsItWas_data();
    void maximizeRequestsLeaveTheWindowAsItWas();
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

void TestMainWindow::maximizeRequestsLeaveTheWindowAsItWas_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("showMaximized leaves the window normal, at its size, with its list") << QStringLiteral("show");
    QTest::newRow("asking the window for the maximized state leaves it normal, at its size, with its list")
        << QStringLiteral("state");
    QTest::newRow("a Maximize button of the desktop's title bar leaves the window normal, at its size, with its list")
        << QStringLiteral("title bar");
}

void TestMainWindow::maximizeRequestsLeaveTheWindowAsItWas()
{
    QFETCH(QString, how);
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    fixture.click(IdGenerate);
    const QList<CredentialPair> rows = rowsOf(window);
    const QSize size = window.size();
    QSignalSpy states(window.windowHandle(), &QWindow::windowStateChanged);

    if (how == QStringLiteral("show"))
        window.showMaximized();
    else if (how == QStringLiteral("state"))
        window.setWindowState(Qt::WindowMaximized);
    else
        window.windowHandle()->setWindowStates(Qt::WindowMaximized);

    // Settled once the window has been maximized, has asked to be normal again and cannot be resized again.
    const auto settled = [&] {
        return !states.isEmpty() && states.constLast().constFirst().value<Qt::WindowState>() == Qt::WindowNoState
            && window.maximumSize() == size;
    };
    QTRY_VERIFY(settled());
    QCOMPARE(states.constFirst().constFirst().value<Qt::WindowState>(), Qt::WindowMaximized);
    QCOMPARE(window.windowState(), Qt::WindowNoState);
    QCOMPARE(window.size(), size);
    QCOMPARE(window.minimumSize(), size);
    QVERIFY(window.isVisible());
    QCOMPARE(rowsOf(window), rows);
    fixture.click(IdGenerate);
    QCOMPARE(window.resultList().rowCount(), 2);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
