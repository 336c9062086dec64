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
void selectAllAndCopy(QLineEdit* edit)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
}

// Opens the edit's context menu as a right click would and chooses the item whose caption starts so.
void chooseFromContextMenu(QLineEdit* edit, const QString& caption)
{
    edit->selectAll();
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5), edit->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(edit, &request);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    for (QAction* action : menu->actions()) {
        if (action->text().startsWith(caption))
            action->trigger();
    }
    menu->close();
}

// A clipboard with a primary selection, as X11 has; which program last wrote each mode is told by the test.
class SelectionStore final : public ClipboardStore
{
public:
    bool owns(QClipboard::Mode mode) const override { return ours_[mode]; }
    const QMimeData* mimeData(QClipboard::Mode mode) const override { return data_[mode].get(); }
    void setMimeData(QMimeData* data, QClipboard::Mode mode) override { write(data, mode, true); }

    void write(QMimeData* data, QClipboard::Mode mode, bool ours)
    {
        data_[mode].reset(data);
        ours_[mode] = ours;
        emit changed(mode);
    }
    void writeText(const QString& text, bool ours)
    {
        auto* data = new QMimeData;
        data->setText(text);
        write(data, QClipboard::Selection, ours);
    }

private:
    std::unique_ptr<QMimeData> data_[2];
    bool ours_[2] = {};
};
} // namespace

class TestClipboard : public QObject
{
    Q_OBJECT

private slots:
    void init() { QGuiApplication::clipboard()->setText(u"before"_s); }
    void passwordsGoOnTheClipboardMarkedSecret_data();
    void passwordsGoOnTheClipboardMarkedSecret();
    void takenOffOnlyWhileStillOurs_data();
    void takenOffOnlyWhileStillOurs();
    void theSelectionIsMarkedAndTakenOffAsTheClipboardIs_data();
    void theSelectionIsMarkedAndTakenOffAsTheClipboardIs();
};

void TestClipboard::passwordsGoOnTheClipboardMarkedSecret_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Ctrl+C in the Password edit copies the selected password") << u"keys"_s << u"s3cret"_s;
    QTest::newRow("Copy in the Password edit's context menu copies the selected password") << u"menu"_s << u"s3cret"_s;
    QTest::newRow("Cut in the Username edit's context menu copies the username and removes it")
        << u"cut"_s << u"alice"_s;
    QTest::newRow("Ctrl+C in the list copies the selected rows top to bottom, one record per line")
        << u"list"_s << u"c3,z\nb2\na1,x"_s;
    QTest::newRow("Ctrl+C in the large-print view copies the password it shows") << u"big"_s << u"s3cret"_s;
}

void TestClipboard::passwordsGoOnTheClipboardMarkedSecret()
{
    QFETCH(QString, way);
    QFETCH(QString, expected);
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    fixture.type(IdPassword, u"s3cret"_s);
    fixture.type(IdUsername, u"alice"_s);

    if (way == u"keys") {
        selectAllAndCopy(fixture.edit(IdPassword));
    } else if (way == u"menu") {
        chooseFromContextMenu(fixture.edit(IdPassword), u"&Copy"_s);
    } else if (way == u"cut") {
        chooseFromContextMenu(fixture.edit(IdUsername), u"Cu&t"_s);
        QCOMPARE(fixture.edit(IdUsername)->text(), QString());
    } else if (way == u"list") {
        for (const CredentialPair& pair : {CredentialPair{"a1", "x"}, {"b2", ""}, {"c3", "z"}, {"d4", "unselected"}})
            window.resultList().insertAtTop(pair);
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
    QCOMPARE(data->text(), expected);
    QCOMPARE(data->data(u"x-kde-passwordManagerHint"_s), QByteArray("secret"));
}

void TestClipboard::takenOffOnlyWhileStillOurs_data()
{
    QTest::addColumn<QString>("copiedSince");
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("left");
    QTest::newRow("a password left alone is cleared after the delay") << QString() << u"wait"_s << QString();
    QTest::newRow("text copied since by another program stays") << u"other"_s << u"wait"_s << u"other"_s;
    QTest::newRow("the same text copied since by another program, unmarked, stays")
        << u"s3cret"_s << u"wait"_s << u"s3cret"_s;
    QTest::newRow("OK clears it at once") << QString() << u"ok"_s << QString();
    QTest::newRow("Cancel clears it at once") << QString() << u"cancel"_s << QString();
    QTest::newRow("the close box clears it at once") << QString() << u"close"_s << QString();
    QTest::newRow("Quit clears it before the process ends") << QString() << u"quit"_s << QString();
}

void TestClipboard::takenOffOnlyWhileStillOurs()
{
    QFETCH(QString, copiedSince);
    QFETCH(QString, way);
    QFETCH(QString, left);
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    if (way == u"wait")
        window.passwordClipboard().setClearDelay(10ms);
    fixture.type(IdPassword, u"s3cret"_s);
    selectAllAndCopy(fixture.edit(IdPassword));
    QCOMPARE(QGuiApplication::clipboard()->text(), u"s3cret"_s);
    if (!copiedSince.isNull())
        QGuiApplication::clipboard()->setText(copiedSince);

    if (way == u"wait")
        QTest::qWait(100);
    else if (way == u"ok")
        fixture.click(IdOk);
    else if (way == u"cancel")
        QTest::keyClick(fixture.edit(IdPassword), Qt::Key_Escape);
    else if (way == u"close")
        QVERIFY(window.close());
    else
        fixture.triggerMenu(CmdQuit);

    QCOMPARE(QGuiApplication::clipboard()->text(), left);
    // Cleared means replaced by empty text that is still marked, so a clipboard keeper has nothing to offer.
    QCOMPARE(QGuiApplication::clipboard()->mimeData()->data(u"x-kde-passwordManagerHint"_s),
             left.isEmpty() ? QByteArray("secret") : QByteArray());
    QCOMPARE(window.isVisible(), way == u"wait" || way == u"quit");
}

void TestClipboard::theSelectionIsMarkedAndTakenOffAsTheClipboardIs_data()
{
    QTest::addColumn<QString>("selectedSince");
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("left");
    QTest::addColumn<bool>("marked");
    QTest::newRow("a password selected in the edit is on the selection, marked secret")
        << QString() << u"look"_s << u"s3cret"_s << true;
    QTest::newRow("left alone, the selection is emptied after the delay and stays marked")
        << QString() << u"wait"_s << QString() << true;
    QTest::newRow("text another program selected since stays as it is")
        << u"other"_s << u"wait"_s << u"other"_s << false;
    QTest::newRow("OK empties the selection at once") << QString() << u"ok"_s << QString() << true;
    QTest::newRow("Quit empties the selection before the process ends") << QString() << u"quit"_s << QString() << true;
}

void TestClipboard::theSelectionIsMarkedAndTakenOffAsTheClipboardIs()
{
    QFETCH(QString, selectedSince);
    QFETCH(QString, way);
    QFETCH(QString, left);
    QFETCH(bool, marked);
    SelectionStore store; // outlives the window, which clears what it holds as it goes
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    window.passwordClipboard().setStore(store);
    window.passwordClipboard().setClearDelay(10ms);
    fixture.type(IdPassword, u"s3cret"_s);
    fixture.edit(IdPassword)->selectAll();
    // What the edit does on a platform with a primary selection when the user selects text in it.
    store.writeText(fixture.edit(IdPassword)->selectedText(), true);
    if (!selectedSince.isNull())
        store.writeText(selectedSince, false);

    if (way == u"wait")
        QTest::qWait(100);
    else if (way == u"ok")
        fixture.click(IdOk);
    else if (way == u"quit")
        fixture.triggerMenu(CmdQuit);

    const QMimeData* data = store.mimeData(QClipboard::Selection);
    QCOMPARE(data->text(), left);
    QCOMPARE(data->data(u"x-kde-passwordManagerHint"_s), marked ? QByteArray("secret") : QByteArray());
}

QTEST_MAIN(TestClipboard)
#include "tst_clipboard.moc"
