#include "ModalAnswerer.h"
#include "WindowFixture.h"
#include "list/CBigViewDlg.h"
#include "list/ResultList.h"
#include "list/ResultListView.h"
#include "resources/Layouts.h"
#include "resources/Menu.h"

#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {
// What the large-print view showed while it ran.
struct Seen
{
    QString title;
    QString username;
    QString password;
    int usernameTop = -1;
    int passwordTop = -1;
    int passwordCursor = -1;
    QFont editFont;
    QFont labelFont;
    QWidget* focus = nullptr;
    QWidget* okButton = nullptr;
    QPoint centre;
    QWidget* owner = nullptr;
};

QLineEdit* viewEdit(QDialog& view, int id)
{
    return view.findChild<QLineEdit*>(QStringLiteral("control%1").arg(id));
}

// Lets the view open as it would, records what it shows, then closes it with Escape.
void watchView(WindowFixture& fixture, Seen& seen)
{
    fixture.desktop.onModal = [&seen](QDialog& view) {
        view.show();
        if (!QTest::qWaitForWindowExposed(&view))
            return int(QDialog::Rejected);
        QLineEdit* username = viewEdit(view, IdBigUsername);
        QLineEdit* password = viewEdit(view, IdBigPassword);
        seen.title = view.windowTitle();
        seen.username = username->text();
        seen.password = password->text();
        seen.usernameTop = username->geometry().top();
        seen.passwordTop = password->geometry().top();
        seen.passwordCursor = password->cursorPosition();
        seen.editFont = password->font();
        seen.labelFont = view.findChild<QLabel*>()->font();
        seen.focus = QApplication::focusWidget();
        seen.okButton = view.findChild<QPushButton*>(QStringLiteral("control%1").arg(IdOk));
        seen.centre = view.frameGeometry().center();
        seen.owner = view.parentWidget();
        QTest::keyClick(&view, Qt::Key_Escape);
        return view.result();
    };
}

QString shown(const QByteArray& bytes)
{
    return QString::fromUtf8(bytes);
}
} // namespace

class TestBigView : public QObject
{
    Q_OBJECT

private slots:
    void showsTheLastGeneratedPair_data();
    void showsTheLastGeneratedPair();
    void showsTheClickedRowsPair();
    void showsThePairTheRecordHeldNotTheTypedText();
    void opensWithoutAPromptWhileANumberIsInvalid();
    void changesInTheViewReachNothingElse();
    void escapeLeavesTheViewsFieldsUnread();
    void isEmptyBeforeAnyPairExists();
    void looksAsTheLayoutSays();
    void usesAFaceWhoseLookAlikesHaveEqualAdvancesAtTwentyFourPoints_data();
    void usesAFaceWhoseLookAlikesHaveEqualAdvancesAtTwentyFourPoints();
    void aFortyNineCharacterPasswordIsAllThere();
    void runsAsARealModalDialog();
};

void TestBigView::showsTheLastGeneratedPair_data()
{
    QTest::addColumn<bool>("fromMenu");
    QTest::newRow("the BIG button shows the pair") << false;
    QTest::newRow("the Big menu item shows the same pair") << true;
}

void TestBigView::showsTheLastGeneratedPair()
{
    QFETCH(bool, fromMenu);
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    fixture.type(IdPairCount, QStringLiteral("3"));
    fixture.click(IdGenerate);
    QCOMPARE(window.resultList().rowCount(), 3);
    const CredentialPair last = window.resultList().pairAt(0);
    QVERIFY(!last.password.isEmpty());
    QVERIFY(!last.username.isEmpty());

    Seen seen;
    watchView(fixture, seen);
    if (fromMenu)
        fixture.triggerMenu(CmdBig);
    else
        fixture.click(IdBig);

    QCOMPARE(fixture.desktop.modalDialogs, QStringList(QStringLiteral("CBigViewDlg")));
    QCOMPARE(seen.username, shown(last.username));
    QCOMPARE(seen.password, shown(last.password));
    QVERIFY(seen.usernameTop < seen.passwordTop);
    QVERIFY(fixture.desktop.messages.isEmpty());
}

void TestBigView::showsTheClickedRowsPair()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    fixture.type(IdPairCount, QStringLiteral("3"));
    fixture.click(IdGenerate);
    ResultListView* list = window.listView();
    const QRect rowRect = list->visualRect(window.resultList().index(2, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowRect.center());
    const CredentialPair clicked = window.resultList().pairAt(2);
    QCOMPARE(fixture.edit(IdPassword)->text(), shown(clicked.password));

    Seen seen;
    watchView(fixture, seen);
    fixture.click(IdBig);

    QCOMPARE(seen.username, shown(clicked.username));
    QCOMPARE(seen.password, shown(clicked.password));
    QVERIFY(seen.password != shown(window.resultList().pairAt(0).password));
}

void TestBigView::showsThePairTheRecordHeldNotTheTypedText()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    fixture.click(IdGenerate);
    const CredentialPair generated = window.resultList().pairAt(0);
    fixture.type(IdPassword, QStringLiteral("typedJustNow"));

    Seen seen;
    watchView(fixture, seen);
    fixture.click(IdBig);

    QCOMPARE(seen.password, shown(generated.password));
    QCOMPARE(seen.username, shown(generated.username));
    QCOMPARE(fixture.edit(IdPassword)->text(), QStringLiteral("typedJustNow"));
}

void TestBigView::opensWithoutAPromptWhileANumberIsInvalid()
{
    WindowFixture fixture;
    fixture.open();
    fixture.click(IdGenerate);
    const QString password = fixture.edit(IdPassword)->text();
    fixture.type(IdCharacterCount, QStringLiteral("60"));

    Seen seen;
    watchView(fixture, seen);
    fixture.click(IdBig);

    QCOMPARE(fixture.desktop.modalDialogs, QStringList(QStringLiteral("CBigViewDlg")));
    QCOMPARE(seen.password, password);
    QVERIFY(fixture.desktop.messages.isEmpty());
    QCOMPARE(fixture.edit(IdCharacterCount)->text(), QStringLiteral("60"));
}

void TestBigView::changesInTheViewReachNothingElse()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    fixture.type(IdPairCount, QStringLiteral("2"));
    fixture.click(IdGenerate);
    const std::deque<CredentialPair> rowsBefore = window.resultList().rows();
    const GeneratorOptions before = window.options();
    const QString passwordShown = fixture.edit(IdPassword)->text();
    const QString usernameShown = fixture.edit(IdUsername)->text();

    QByteArray viewPasswordAfterOk;
    fixture.desktop.onModal = [&](QDialog& view) {
        view.show();
        QLineEdit* password = viewEdit(view, IdBigPassword);
        QLineEdit* username = viewEdit(view, IdBigUsername);
        password->setFocus();
        password->selectAll();
        QTest::keyClicks(password, QStringLiteral("changed"));
        username->setFocus();
        username->selectAll();
        QTest::keyClicks(username, QStringLiteral("someoneElse"));
        QTest::mouseClick(view.findChild<QPushButton*>(QStringLiteral("control%1").arg(IdOk)), Qt::LeftButton);
        viewPasswordAfterOk = static_cast<CBigViewDlg&>(view).password;
        return view.result();
    };
    fixture.click(IdBig);

    QCOMPARE(viewPasswordAfterOk, QByteArray("changed"));
    QCOMPARE(window.resultList().rows(), rowsBefore);
    QCOMPARE(window.options().currentPassword, before.currentPassword);
    QCOMPARE(window.options().currentUsername, before.currentUsername);
    QCOMPARE(fixture.edit(IdPassword)->text(), passwordShown);
    QCOMPARE(fixture.edit(IdUsername)->text(), usernameShown);

    // The next look shows the pair as it was.
    Seen seen;
    watchView(fixture, seen);
    fixture.click(IdBig);
    QCOMPARE(seen.password, passwordShown);
    QCOMPARE(seen.username, usernameShown);
}

void TestBigView::escapeLeavesTheViewsFieldsUnread()
{
    CBigViewDlg view;
    view.username = "user";
    view.password = "secret";
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QLineEdit* password = viewEdit(view, IdBigPassword);
    QCOMPARE(password->text(), QStringLiteral("secret"));
    password->setFocus();
    password->selectAll();
    QTest::keyClicks(password, QStringLiteral("other"));

    QTest::keyClick(&view, Qt::Key_Escape);
    QVERIFY(!view.isVisible());
    QCOMPARE(view.result(), int(QDialog::Rejected));
    QCOMPARE(view.password, QByteArray("secret"));
    QCOMPARE(view.username, QByteArray("user"));
}

void TestBigView::isEmptyBeforeAnyPairExists()
{
    WindowFixture fixture;
    fixture.open();
    Seen seen;
    seen.username = seen.password = QStringLiteral("not looked at");
    watchView(fixture, seen);
    fixture.click(IdBig);
    QCOMPARE(seen.username, QString());
    QCOMPARE(seen.password, QString());
    QVERIFY(fixture.desktop.messages.isEmpty());
}

void TestBigView::looksAsTheLayoutSays()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    Seen seen;
    watchView(fixture, seen);
    fixture.click(IdBig);

    QCOMPARE(seen.title, QStringLiteral("Password"));
    QVERIFY(seen.okButton);
    QCOMPARE(seen.focus, seen.okButton);
    QCOMPARE(seen.owner, &window);
    const QPoint offset = seen.centre - window.frameGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 4, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
}

void TestBigView::usesAFaceWhoseLookAlikesHaveEqualAdvancesAtTwentyFourPoints_data()
{
    QTest::addColumn<bool>("proportionalFirst");
    QTest::newRow("the view's edits use such a face") << false;
    QTest::newRow("a proportional face offered first gives way to a monospaced one") << true;
}

// What a user sees: l, 1, I, O, 0 and W each take the same width, in print of 24 points.
void TestBigView::usesAFaceWhoseLookAlikesHaveEqualAdvancesAtTwentyFourPoints()
{
    QFETCH(bool, proportionalFirst);
    QFont face;
    if (proportionalFirst) {
        QFont proportional = QApplication::font();
        proportional.setPointSize(24);
        QVERIFY(QFontMetrics(proportional).horizontalAdvance(u'l')
                != QFontMetrics(proportional).horizontalAdvance(u'W'));
        QFont monospace(QStringLiteral("monospace"));
        monospace.setStyleHint(QFont::Monospace);
        monospace.setPointSize(24);
        face = evenLookAlikeFace({proportional, monospace});
    } else {
        WindowFixture fixture;
        fixture.open();
        Seen seen;
        watchView(fixture, seen);
        fixture.click(IdBig);
        face = seen.editFont;
        QCOMPARE(QFontInfo(seen.labelFont).pointSize(), 24);
    }

    QCOMPARE(QFontInfo(face).pointSize(), 24);
    const QFontMetrics metrics(face);
    for (const QChar c : QStringLiteral("1IO0W"))
        QCOMPARE(metrics.horizontalAdvance(c), metrics.horizontalAdvance(u'l'));
}

void TestBigView::aFortyNineCharacterPasswordIsAllThere()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    fixture.type(IdCharacterCount, QStringLiteral("49"));
    fixture.click(IdGenerate);
    const QByteArray password = window.resultList().pairAt(0).password;
    QCOMPARE(password.size(), 49);

    Seen seen;
    watchView(fixture, seen);
    fixture.click(IdBig);

    QCOMPARE(seen.password, shown(password));
    QCOMPARE(seen.passwordCursor, 0);
}

// The production path: QtDesktop runs the view's own modal loop, a timer answers it like a user.
void TestBigView::runsAsARealModalDialog()
{
    WindowFixture fixture;
    QtDesktop desktop;
    CVarnelDlg& window = fixture.openWith(desktop);
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(qobject_cast<QAbstractButton*>(window.control(IdGenerate)), Qt::LeftButton);
    const CredentialPair pair = window.resultList().pairAt(0);
    QVERIFY(!pair.password.isEmpty());

    QString seenPassword;
    QString seenUsername;
    ModalAnswerer answerer;
    answerer.onDialog = [&](QDialog& view) {
        seenPassword = viewEdit(view, IdBigPassword)->text();
        seenUsername = viewEdit(view, IdBigUsername)->text();
        QTest::keyClicks(viewEdit(view, IdBigPassword), QStringLiteral("more"));
        QTest::keyClick(&view, Qt::Key_Return);
    };

    QTest::mouseClick(qobject_cast<QAbstractButton*>(window.control(IdBig)), Qt::LeftButton);

    QCOMPARE(answerer.seen, QStringList(QStringLiteral("CBigViewDlg")));
    QCOMPARE(seenPassword, shown(pair.password));
    QCOMPARE(seenUsername, shown(pair.username));
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(window.resultList().pairAt(0), pair);
    QCOMPARE(qobject_cast<QLineEdit*>(window.control(IdPassword))->text(), shown(pair.password));
}

QTEST_MAIN(TestBigView)
#include "tst_bigview.moc"
