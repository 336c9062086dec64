#include "WindowFixture.h"
#include "list/CBigViewDlg.h"
#include "prefs/TooltipTexts.h"
#include "resources/DialogBuilder.h"
#include "resources/Layouts.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
enum class Checked { NotCheckable, No, Yes };

QWidget* focusAfterTabs(QWidget* window, int tabs)
{
    for (int i = 0; i < tabs; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    return window->isAncestorOf(QApplication::focusWidget()) ? QApplication::focusWidget() : nullptr;
}

int chosenButtons(const QWidget* window)
{
    const QList<ChoiceButton*> buttons = window->findChildren<ChoiceButton*>();
    return int(std::count_if(buttons.begin(), buttons.end(), [](const ChoiceButton* b) { return b->isChecked(); }));
}
} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void everyControlInTabOrder_data();
    void everyControlInTabOrder();
};

void TestAccessibility::everyControlInTabOrder_data()
{
    QTest::addColumn<bool>("largePrint");
    QTest::addColumn<int>("tabs");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("name");
    QTest::addColumn<Checked>("checked");
    // For a radio button the group it is announced in; for an edit the caption that labels it.
    QTest::addColumn<QString>("heading");
    const int button = QAccessible::Button;
    const int radio = QAccessible::RadioButton;
    const int edit = QAccessible::EditableText;
    const auto main = [](const char* sentence, int tabs, int id, int role, const QString& name, Checked checked,
                         const QString& heading = {}) {
        QTest::newRow(sentence) << false << tabs << id << role << name << checked << heading;
    };
    main("OK, where the focus starts, is a button", 0, IdOk, button, u"OK"_s, Checked::NotCheckable);
    main("the list is named Generated pairs", 1, IdResultList, QAccessible::Tree, u"Generated pairs"_s,
         Checked::NotCheckable);
    main("the first number edit is named by its label", 2, IdPairCount, edit, u"Number to Generate"_s,
         Checked::NotCheckable, u"Number to Generate:"_s);
    main("Alpha-Numeric is an unchosen radio button", 3, IdAlphaNumeric, radio, u"Alpha-Numeric"_s, Checked::No,
         u"Password Style"_s);
    main("Numeric is the chosen radio button of its group", 4, IdNumeric, radio, u"Numeric"_s, Checked::Yes,
         u"Password Style"_s);
    main("Alphabetic is an unchosen radio button", 5, IdAlphabetic, radio, u"Alphabetic"_s, Checked::No,
         u"Password Style"_s);
    main("Generate is a button", 6, IdGenerate, button, u"Generate"_s, Checked::NotCheckable);
    main("Save is a button", 7, IdSave, button, u"Save"_s, Checked::NotCheckable);
    main("Random Username is the chosen radio button of its group", 8, IdRandomUsername, radio, u"Random Username"_s,
         Checked::Yes, u"Username Style"_s);
    main("Load Usernames is an unchosen radio button", 9, IdLoadUsernames, radio, u"Load Usernames"_s, Checked::No,
         u"Username Style"_s);
    main("Numbered Usernames is an unchosen radio button", 10, IdNumberedUsernames, radio, u"Numbered Usernames"_s,
         Checked::No, u"Username Style"_s);
    main("CSV is the chosen radio button of its group", 11, IdCsv, radio, u"CSV"_s, Checked::Yes, u"Save Options"_s);
    main("One Per Line is an unchosen radio button", 12, IdOnePerLine, radio, u"One Per Line"_s, Checked::No,
         u"Save Options"_s);
    main("the second number edit is named by its label", 13, IdCharacterCount, edit, u"Number of Characters"_s,
         Checked::NotCheckable, u"Number of Characters:"_s);
    main("No Username is an unchosen radio button", 14, IdNoUsername, radio, u"No Username"_s, Checked::No,
         u"Username Style"_s);
    main("the password edit is named Password", 15, IdPassword, edit, u"Password"_s, Checked::NotCheckable,
         u"Password:"_s);
    main("the username edit is named Username", 16, IdUsername, edit, u"Username"_s, Checked::NotCheckable,
         u"Username:"_s);
    main("Upper Case is the chosen radio button of its group", 17, IdUpperCase, radio, u"Upper Case"_s, Checked::Yes,
         u"Character Set"_s);
    main("Lower Case is an unchosen radio button", 18, IdLowerCase, radio, u"Lower Case"_s, Checked::No,
         u"Character Set"_s);
    main("Mixed Case is an unchosen radio button", 19, IdMixedCase, radio, u"Mixed Case"_s, Checked::No,
         u"Character Set"_s);
    main("Clear is a button", 20, IdClear, button, u"Clear"_s, Checked::NotCheckable);
    main("Alpha-Num-Sym is an unchosen radio button", 21, IdAlphaNumSym, radio, u"Alpha-Num-Sym"_s, Checked::No,
         u"Password Style"_s);
    main("Update is a button", 22, IdUpdate, button, u"Update"_s, Checked::NotCheckable);
    main("Delete is a button", 23, IdDelete, button, u"Delete"_s, Checked::NotCheckable);
    main("BIG is a button", 24, IdBig, button, u"BIG"_s, Checked::NotCheckable);
    main("ToolTips is a ticked check box", 25, IdToolTips, QAccessible::CheckBox, u"ToolTips"_s, Checked::Yes);

    QTest::newRow("the large-print view's OK has the focus first")
        << true << 0 << int(IdOk) << button << u"OK"_s << Checked::NotCheckable << QString();
    QTest::newRow("the large-print view's upper edit is named Username")
        << true << 1 << int(IdBigUsername) << edit << u"Username"_s << Checked::NotCheckable << u"Username:"_s;
    QTest::newRow("the large-print view's lower edit is named Password")
        << true << 2 << int(IdBigPassword) << edit << u"Password"_s << Checked::NotCheckable << u"Password:"_s;
}

void TestAccessibility::everyControlInTabOrder()
{
    QFETCH(bool, largePrint);
    QFETCH(int, tabs);
    QFETCH(int, id);
    QFETCH(int, role);
    QFETCH(QString, name);
    QFETCH(Checked, checked);
    QFETCH(QString, heading);
    WindowFixture fixture;
    CBigViewDlg view;
    QWidget* root = &view;
    if (largePrint) {
        view.show();
        view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&view));
    } else {
        root = &fixture.open();
        QVERIFY(fixture.activate());
    }

    QWidget* focus = focusAfterTabs(root, tabs);
    QVERIFY(focus);
    QCOMPARE(focus->objectName(), u"control%1"_s.arg(id));
    QAccessibleInterface* control = QAccessible::queryAccessibleInterface(focus);
    QVERIFY(control);
    QCOMPARE(int(control->role()), role);
    QCOMPARE(control->text(QAccessible::Name), name);
    const QAccessible::State state = control->state();
    QVERIFY(state.focusable);
    QVERIFY(state.focused);
    QCOMPARE(bool(state.checkable), checked != Checked::NotCheckable);
    QCOMPARE(bool(state.checked), checked == Checked::Yes);

    QStringList labelledBy;
    for (const auto& [label, relation] : control->relations(QAccessible::Label))
        labelledBy.append(label->text(QAccessible::Name));
    QCOMPARE(labelledBy.contains(heading), !heading.isEmpty());
    if (role == QAccessible::RadioButton) {
        QAccessibleInterface* group = control->parent();
        QCOMPARE(int(group->role()), int(QAccessible::Grouping));
        QCOMPARE(group->text(QAccessible::Name), heading);
        QVERIFY(group->indexOfChild(control) >= 0);
    }

    // Only the main window has tips; each is its control's description, with tips on and off.
    const QString tip = largePrint ? QString() : QString::fromLatin1(TooltipTextFor(id));
    QCOMPARE(largePrint, tip.isEmpty());
    QCOMPARE(control->text(QAccessible::Description), tip);
    if (!largePrint) {
        QVERIFY(fixture.window().tooltipsActive());
        fixture.click(IdToolTips);
        QVERIFY(!fixture.window().tooltipsActive());
        QCOMPARE(control->text(QAccessible::Description), tip);
    }
    // A screen reader's toggle chooses the button as a click does: one choice in each of the four groups.
    if (role == QAccessible::RadioButton) {
        // The click arrives where the user sees the button, inside its frame, as the desktop delivers it.
        QTest::mouseClick(root->windowHandle(), Qt::LeftButton, {}, focus->mapTo(root, focus->rect().center()));
        QVERIFY(control->state().checked);
        control->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QVERIFY(control->state().checked);
        QCOMPARE(chosenButtons(root), 4);
    }
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
