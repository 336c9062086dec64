#include "WindowFixture.h"
#include "list/CBigViewDlg.h"
#include "list/ResultListView.h"
#include "prefs/TooltipTexts.h"
#include "resources/Layouts.h"
#include "resources/Menu.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QToolTip>
#include <QtTest>

#include <cstring>

namespace {
const char* const AlphaNumericTip = "This option will mean that there will only be letters and numbers in passwords.";

// The widget that receives the toolkit's request when the pointer rests on a control: the list's rows
// are drawn in its viewport.
QWidget* restingPlace(CVarnelDlg& window, int id)
{
    if (id == IdResultList)
        return window.listView()->viewport();
    return window.control(id);
}

// Rests the pointer on a widget as the toolkit does after its delay: a tool-tip request at that point.
// Returns the tip on screen afterwards, or an empty text when there is none.
QString restOn(QWidget* widget, QPoint local = QPoint(-1, -1), bool* handled = nullptr)
{
    QToolTip::hideText();
    if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }))
        return QStringLiteral("(an earlier tip would not go away)");
    if (local == QPoint(-1, -1))
        local = widget->rect().center();
    QHelpEvent request(QEvent::ToolTip, local, widget->mapToGlobal(local));
    const bool consumed = QApplication::sendEvent(widget, &request);
    if (handled)
        *handled = consumed && request.isAccepted();
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}
} // namespace

class TestTooltips : public QObject
{
    Q_OBJECT

private slots:
    void everyTabledControlShowsItsOwnTip_data();
    void everyTabledControlShowsItsOwnTip();
    void theLongestTipComesThroughWhole();
    void noControlShowsATipWhileTipsAreOff();
    void theToolTipsBoxSwitchesTipsAndHasItsOwn();
    void labelsAndGroupBoxesNeverShowATip();
    void theListHeaderShowsTheListsTip();
    void aControlWithoutARowGetsNoTextAndIsHandled();
    void theOtherWindowsHaveNoTips();
    void noTipIsHandedOutBeforehand();
    void theCopyNeverWritesPastTheField();
    void everyTipFitsTheField();
};

void TestTooltips::everyTabledControlShowsItsOwnTip_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("tip");
    const auto row = [](const char* name, int id, const char* tip) {
        QTest::newRow(name) << id << QString::fromLatin1(tip);
    };
    row("OK says it saves the preferences and quits", IdOk,
        "This button will save your preferences and then quit the program.");
    row("the result list describes the link list", IdResultList,
        "This list displays all of passwords and usernames currently in your link list.");
    row("Number to Generate asks for the number of passwords", IdPairCount,
        "Enter the number of passwords to be generated here.");
    row("Alpha-Numeric promises letters and numbers", IdAlphaNumeric, AlphaNumericTip);
    row("Numeric promises only numbers", IdNumeric,
        "This option will mean that there will only be numbers in passwords.");
    row("Alphabetic promises only letters", IdAlphabetic,
        "This option will mean that there will only be letters in passwords.");
    row("Generate says it generates passwords", IdGenerate, "This button generates passwords.");
    row("Save offers to save the list", IdSave, "This button will allow you to save the current list.");
    row("Random Username promises random usernames", IdRandomUsername, "This option will generate random usernames.");
    row("Load Usernames offers a file", IdLoadUsernames, "This option will allow you to load usernames from a file.");
    row("Numbered Usernames promises numbered usernames", IdNumberedUsernames,
        "This option will allow you to generate numbered usernames.");
    row("CSV promises one line", IdCsv, "This option will allow you to save all usernames and passwords on one line.");
    row("One Per Line promises a pair per line", IdOnePerLine,
        "This option will allow you to have 1 username and password per line on save.");
    row("Alpha-Num-Sym keeps its own spelling of symbols", IdAlphaNumSym,
        "This option will allows letters, numbers and sybmbols in passwords.");
    row("Number of Characters explains the password length", IdCharacterCount,
        "This field specifies how many characters to use in each password.");
    row("No Username promises no usernames", IdNoUsername,
        "This option will not generate usernames when you press Generate.");
    row("the password edit offers editing the password", IdPassword,
        "This field allows you to edit the currently selected password.");
    row("the username edit offers editing the username", IdUsername,
        "This field allows you to edit the currently selected username.");
    row("Upper Case shouts UPPERCASE", IdUpperCase,
        "This option will let you generate UPPERCASE usernames and passwords.");
    row("Lower Case whispers lowercase", IdLowerCase,
        "This option will let you generate lowercase usernames and passwords.");
    row("Mixed Case writes MixED CAsE", IdMixedCase,
        "This option will let you generate MixED CAsE usernames and passwords.");
    row("Clear says it clears the list", IdClear,
        "This button will clear the current list of usernames and passwords.");
    row("Update says it updates the selected pair", IdUpdate,
        "This button will update the currently selected username and password.");
    row("Delete says it deletes the selected pair", IdDelete,
        "This button will delete the currently selected username and password.");
    row("BIG promises BIG letters", IdBig, "This button will display the username and password in BIG letters.");
    row("the ToolTips box explains itself", IdToolTips, "Allows the user to toggle tooltips on or off.");
}

void TestTooltips::everyTabledControlShowsItsOwnTip()
{
    QFETCH(int, id);
    QFETCH(QString, tip);
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    QVERIFY(window.tooltipsActive());

    QWidget* place = restingPlace(window, id);
    QVERIFY(place);
    bool handled = false;
    QCOMPARE(restOn(place, QPoint(-1, -1), &handled), tip);
    QVERIFY(handled);

    TooltipRequest request;
    QVERIFY(window.OnTooltipNeedText(window.control(id), request));
    QCOMPARE(QString::fromLatin1(request.text), tip);
    QCOMPARE(QString::fromLatin1(TooltipTextFor(id)), tip);
}

void TestTooltips::theLongestTipComesThroughWhole()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();

    TooltipRequest request;
    std::memset(request.text, 'x', sizeof request.text);
    request.text[0] = '\0';
    QVERIFY(window.OnTooltipNeedText(window.control(IdAlphaNumeric), request));
    QCOMPARE(std::strlen(AlphaNumericTip), std::size_t(79));
    QCOMPARE(std::strlen(request.text), std::size_t(79));
    QCOMPARE(QByteArray(request.text), QByteArray(AlphaNumericTip));

    const QString shown = restOn(window.control(IdAlphaNumeric));
    QCOMPARE(shown.size(), 79);
    QCOMPARE(shown, QString::fromLatin1(AlphaNumericTip));
}

void TestTooltips::noControlShowsATipWhileTipsAreOff()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    window.SetTooltipsActive(false);
    QVERIFY(!window.tooltipsActive());

    for (const TooltipRow& row : tooltipTable()) {
        bool handled = false;
        const QString shown = restOn(restingPlace(window, row.controlId), QPoint(-1, -1), &handled);
        QVERIFY2(shown.isEmpty(), qPrintable(QStringLiteral("control %1 showed \"%2\"").arg(row.controlId).arg(shown)));
        QVERIFY2(handled, qPrintable(QStringLiteral("control %1's request went on").arg(row.controlId)));
    }

    window.SetTooltipsActive(true);
    QCOMPARE(restOn(window.control(IdGenerate)), QStringLiteral("This button generates passwords."));
}

void TestTooltips::theToolTipsBoxSwitchesTipsAndHasItsOwn()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    QAbstractButton* box = fixture.button(IdToolTips);
    QVERIFY(box->isChecked());
    const QString ownTip = QStringLiteral("Allows the user to toggle tooltips on or off.");
    QCOMPARE(restOn(box), ownTip);

    fixture.click(IdToolTips);
    QVERIFY(!box->isChecked());
    QVERIFY(!window.tooltipsActive());
    QCOMPARE(restOn(box), QString());
    QCOMPARE(restOn(window.control(IdSave)), QString());

    fixture.click(IdToolTips);
    QVERIFY(box->isChecked());
    QVERIFY(window.tooltipsActive());
    QCOMPARE(restOn(box), ownTip);
}

void TestTooltips::labelsAndGroupBoxesNeverShowATip()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    QList<QWidget*> silent;
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->isWindow())
            silent.append(label);
    }
    QCOMPARE(silent.size(), 5);
    for (QGroupBox* box : window.findChildren<QGroupBox*>())
        silent.append(box);
    QCOMPARE(silent.size(), 9);

    for (const bool active : {true, false}) {
        window.SetTooltipsActive(active);
        for (QWidget* widget : std::as_const(silent)) {
            // The frame's top left corner lies on its caption and its border, away from the buttons inside.
            const QPoint point = qobject_cast<QGroupBox*>(widget) ? QPoint(2, 2) : widget->rect().center();
            const QString shown = restOn(widget, point);
            const QString name = widget->property(qobject_cast<QGroupBox*>(widget) ? "title" : "text").toString();
            QVERIFY2(shown.isEmpty(), qPrintable(QStringLiteral("\"%1\" showed \"%2\"").arg(name, shown)));
        }
    }
}

void TestTooltips::theListHeaderShowsTheListsTip()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    QHeaderView* header = window.listView()->header();
    QVERIFY(header->isVisible());

    bool handled = false;
    QCOMPARE(restOn(header->viewport(), header->viewport()->rect().center(), &handled),
             QStringLiteral("This list displays all of passwords and usernames currently in your link list."));
    QVERIFY(handled);
    window.SetTooltipsActive(false);
    QCOMPARE(restOn(header->viewport()), QString());
}

void TestTooltips::aControlWithoutARowGetsNoTextAndIsHandled()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    CBigViewDlg view(&window);
    QWidget* usernameEdit = view.findChild<QWidget*>(QStringLiteral("control%1").arg(IdBigUsername));
    QVERIFY(usernameEdit);
    QVERIFY(!TooltipTextFor(IdBigUsername));

    TooltipRequest request;
    QVERIFY(window.OnTooltipNeedText(usernameEdit, request));
    QCOMPARE(request.text[0], '\0');
}

void TestTooltips::theOtherWindowsHaveNoTips()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    QVERIFY(window.tooltipsActive());
    QStringList shown;
    fixture.desktop.onModal = [&](QDialog& dialog) {
        dialog.show();
        for (QWidget* widget : dialog.findChildren<QWidget*>()) {
            if (!widget->isVisible())
                continue;
            const QString tip = restOn(widget);
            if (!tip.isEmpty())
                shown.append(tip);
        }
        dialog.reject();
        return QDialog::Rejected;
    };

    fixture.triggerMenu(CmdAbout);
    fixture.click(IdBig);
    QCOMPARE(fixture.desktop.modalDialogs, QStringList({QStringLiteral("CAboutDlg"), QStringLiteral("CBigViewDlg")}));
    QCOMPARE(shown, QStringList());
}

void TestTooltips::noTipIsHandedOutBeforehand()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    for (const QWidget* widget : window.findChildren<QWidget*>())
        QVERIFY2(widget->toolTip().isEmpty(), qPrintable(widget->objectName()));
}

void TestTooltips::theCopyNeverWritesPastTheField()
{
    struct Guarded
    {
        TooltipRequest request;
        char after[16];
    } guarded;
    std::memset(guarded.after, 'G', sizeof guarded.after);

    const QByteArray tooLong(120, 'a');
    copyTooltipText(guarded.request, tooLong.constData());
    QCOMPARE(std::strlen(guarded.request.text), std::size_t(79));
    QCOMPARE(QByteArray(guarded.request.text), tooLong.left(79));
    QCOMPARE(QByteArray(guarded.after, sizeof guarded.after), QByteArray(sizeof guarded.after, 'G'));

    copyTooltipText(guarded.request, "short");
    QCOMPARE(QByteArray(guarded.request.text), QByteArray("short"));

    copyTooltipText(guarded.request, nullptr);
    QCOMPARE(QByteArray(guarded.request.text), QByteArray("short"));
}

void TestTooltips::everyTipFitsTheField()
{
    QCOMPARE(sizeof(TooltipRequest::text), std::size_t(80));
    QCOMPARE(tooltipTable().size(), std::size_t(26));
    for (const TooltipRow& row : tooltipTable())
        QVERIFY2(std::strlen(row.text) <= 79, row.text);
    QVERIFY(!TooltipTextFor(NoControlId));
    QVERIFY(!TooltipTextFor(IdCancel));
}

QTEST_MAIN(TestTooltips)
#include "tst_tooltips.moc"
