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

// A primary selection, as X11 has, which the test says was written last by this program or another.
class SelectionStore final : public ClipboardStore
{
public:
    bool owns(QClipboard::Mode) const override { return ours_; }
    const QMimeData* mimeData(QClipboard::Mode) const override { return data_.get(); }
    void setMimeData(QMimeData* data, QClipboard::Mode) override { write(data, true); }
    void write(QMimeData* data, bool ours)
    {
        data_.reset(data);
        ours_ = ours;
        emit changed(QClipboard::Selection);
    }

private:
    std::unique_ptr<QMimeData> data_;
    bool ours_ = false;
};

QMimeData* plainText(const QString& text)
{
    auto* data = new QMimeData;
    data->setText(text);
    return data;
}
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
    QTest::addColumn<bool>("selection");
    QTest::newRow("a password left alone is cleared after the delay") << QString() << u"wait"_s << QString() << false;
    QTest::newRow("text copied since by another program stays") << u"other"_s << u"wait"_s << u"other"_s << false;
    QTest::newRow("the same text copied since by another program, unmarked, stays")
        << u"s3cret"_s << u"wait"_s << u"s3cret"_s << false;
    QTest::newRow("OK clears it at once") << QString() << u"ok"_s << QString() << false;
    QTest::newRow("Cancel clears it at once") << QString() << u"cancel"_s << QString() << false;
    QTest::newRow("the close box clears it at once") << QString() << u"close"_s << QString() << false;
    QTest::newRow("Quit clears it before the process ends") << QString() << u"quit"_s << QString() << false;
    QTest::newRow("a password selected in an edit is marked and taken off the primary selection after the delay")
        << QString() << u"wait"_s << QString() << true;
    QTest::newRow("text another program selected since stays on the primary selection")
        << u"other"_s << u"wait"_s << u"other"_s << true;
    QTest::newRow("Quit takes the password off the primary selection") << QString() << u"quit"_s << QString() << true;
}

void TestClipboard::takenOffOnlyWhileStillOurs()
{
    QFETCH(QString, copiedSince);
    QFETCH(QString, way);
    QFETCH(QString, left);
    QFETCH(bool, selection);
    SelectionStore store; // outlives the window, which takes its password off as it closes
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    if (way == u"wait")
        window.passwordClipboard().setClearDelay(10ms);
    fixture.type(IdPassword, u"s3cret"_s);
    if (selection) {
        window.passwordClipboard().setStore(store);
        fixture.edit(IdPassword)->selectAll();
        store.write(plainText(fixture.edit(IdPassword)->selectedText()), true); // as the edit does on X11
    } else {
        selectAllAndCopy(fixture.edit(IdPassword));
    }
    const auto held = [&] {
        return selection ? store.mimeData({}) : QGuiApplication::clipboard()->mimeData();
    };
    QCOMPARE(held()->text(), u"s3cret"_s);
    QCOMPARE(held()->data(u"x-kde-passwordManagerHint"_s), QByteArray("secret"));
    if (!copiedSince.isNull() && selection)
        store.write(plainText(copiedSince), false);
    else if (!copiedSince.isNull())
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

    QCOMPARE(held()->text(), left);
    // Cleared means replaced by empty text still marked, which leaves a clipboard keeper nothing to offer.
    QCOMPARE(held()->data(u"x-kde-passwordManagerHint"_s), left.isEmpty() ? QByteArray("secret") : QByteArray());
    QCOMPARE(window.isVisible(), way == u"wait" || way == u"quit");
}

QTEST_MAIN(TestClipboard)
#include "tst_clipboard.moc"
