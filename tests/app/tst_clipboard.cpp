#include "WindowFixture.h"
#include "app/PasswordClipboard.h"
#include "list/ResultList.h"
#include "list/ResultListView.h"
#include "resources/Layouts.h"
#include "resources/Menu.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {
const QString Hint = u"x-kde-passwordManagerHint"_s;

QString clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

void selectAllAndCopy(QLineEdit* edit)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
}

// Opens the edit's context menu as a right click would, and chooses the item whose caption starts so.
void chooseFromContextMenu(QLineEdit* edit, const QString& caption)
{
    edit->selectAll();
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5), edit->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(edit, &request);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    for (QAction* action : menu->actions()) {
        if (action->text().startsWith(caption)) {
            action->trigger();
            menu->close();
            return;
        }
    }
    QFAIL(qPrintable(u"no item %1 in the context menu"_s.arg(caption)));
}
} // namespace

class TestClipboard : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void passwordsGoOnTheClipboardMarkedSecret_data();
    void passwordsGoOnTheClipboardMarkedSecret();
    void clearedAfterTheDelayOnlyIfStillOurs_data();
    void clearedAfterTheDelayOnlyIfStillOurs();
    void leavingClearsAtOnce_data();
    void leavingClearsAtOnce();
};

void TestClipboard::init()
{
    QGuiApplication::clipboard()->setText(u"before"_s);
}

void TestClipboard::passwordsGoOnTheClipboardMarkedSecret_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Ctrl+C in the Password edit copies the selected password") << u"password keys"_s << u"s3cret"_s;
    QTest::newRow("Copy in the Password edit's context menu copies the selected password")
        << u"password menu"_s << u"s3cret"_s;
    QTest::newRow("Cut in the Username edit's context menu copies the username and removes it")
        << u"username cut"_s << u"alice"_s;
    QTest::newRow("Ctrl+C in the list copies the selected rows top to bottom, one record per line")
        << u"list"_s << u"c3,z\nb2\na1,x"_s;
    QTest::newRow("Ctrl+C in the large-print view copies the password it shows") << u"large print"_s << u"s3cret"_s;
}

void TestClipboard::passwordsGoOnTheClipboardMarkedSecret()
{
    QFETCH(QString, way);
    QFETCH(QString, expected);
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    fixture.type(IdPassword, u"s3cret"_s);

    if (way == u"password keys") {
        selectAllAndCopy(fixture.edit(IdPassword));
    } else if (way == u"password menu") {
        chooseFromContextMenu(fixture.edit(IdPassword), u"&Copy"_s);
    } else if (way == u"username cut") {
        fixture.type(IdUsername, u"alice"_s);
        chooseFromContextMenu(fixture.edit(IdUsername), u"Cu&t"_s);
        QCOMPARE(fixture.edit(IdUsername)->text(), QString());
    } else if (way == u"list") {
        window.resultList().insertAtTop({"a1", "x"});
        window.resultList().insertAtTop({"b2", ""});
        window.resultList().insertAtTop({"c3", "z"});
        window.resultList().insertAtTop({"d4", "unselected"});
        fixture.clickRow(3);
        fixture.clickRow(1, Qt::ControlModifier);
        fixture.clickRow(2, Qt::ControlModifier);
        QTest::keyClick(window.listView(), Qt::Key_C, Qt::ControlModifier);
    } else {
        fixture.click(IdUpdate); // reads the edits into the record, which is what the view shows
        fixture.desktop.onModal = [](QDialog& view) {
            view.show();
            selectAllAndCopy(view.findChild<QLineEdit*>(u"control%1"_s.arg(IdBigPassword)));
            return int(QDialog::Rejected);
        };
        fixture.click(IdBig);
    }

    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data);
    QCOMPARE(data->text(), expected);
    QCOMPARE(data->data(Hint), QByteArray("secret"));
}

void TestClipboard::clearedAfterTheDelayOnlyIfStillOurs_data()
{
    QTest::addColumn<QString>("copiedSince");
    QTest::addColumn<bool>("withHint");
    QTest::addColumn<QString>("expected");
    QTest::newRow("a password left on the clipboard is cleared") << QString() << false << QString();
    QTest::newRow("text copied since by someone else stays") << u"other"_s << false << u"other"_s;
    QTest::newRow("the same text copied since by someone else, unmarked, stays") << u"s3cret"_s << false
                                                                                  << u"s3cret"_s;
}

void TestClipboard::clearedAfterTheDelayOnlyIfStillOurs()
{
    QFETCH(QString, copiedSince);
    QFETCH(QString, expected);
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    window.passwordClipboard().setClearDelay(10ms);
    fixture.type(IdPassword, u"s3cret"_s);
    selectAllAndCopy(fixture.edit(IdPassword));
    QCOMPARE(clipboardText(), u"s3cret"_s);
    if (!copiedSince.isNull())
        QGuiApplication::clipboard()->setText(copiedSince);

    QTest::qWait(100);

    QCOMPARE(clipboardText(), expected);
    QVERIFY(window.isVisible());
}

void TestClipboard::leavingClearsAtOnce_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("OK clears the password it copied") << u"ok"_s;
    QTest::newRow("Cancel clears the password it copied") << u"cancel"_s;
    QTest::newRow("the close box clears the password it copied") << u"close box"_s;
    QTest::newRow("Quit clears the password it copied before the process ends") << u"quit"_s;
}

void TestClipboard::leavingClearsAtOnce()
{
    QFETCH(QString, way);
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    fixture.type(IdPassword, u"s3cret"_s);
    selectAllAndCopy(fixture.edit(IdPassword));
    QCOMPARE(clipboardText(), u"s3cret"_s);

    if (way == u"ok")
        fixture.click(IdOk);
    else if (way == u"cancel")
        QTest::keyClick(fixture.edit(IdPassword), Qt::Key_Escape);
    else if (way == u"close box")
        QVERIFY(window.close());
    else
        fixture.triggerMenu(CmdQuit);

    QCOMPARE(clipboardText(), QString());
    QCOMPARE(way == u"quit", !fixture.desktop.exits.isEmpty());
}

QTEST_MAIN(TestClipboard)
#include "tst_clipboard.moc"
