#include "WindowFixture.h"
#include "engine/RandomSource.h"
#include "list/ResultList.h"
#include "list/ResultListView.h"
#include "resources/Layouts.h"
#include "resources/Menu.h"

#include <QAbstractButton>
#include <QAbstractItemDelegate>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyleOptionViewItem>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
QStringList shownRows(WindowFixture& fixture)
{
    QStringList rows;
    for (int row = 0; row < fixture.window().resultList().rowCount(); ++row)
        rows.append(fixture.shownCell(row, 0) + u'|' + fixture.shownCell(row, 1));
    return rows;
}

// Rows put straight into the list, the first given ending at the bottom.
void fill(WindowFixture& fixture, const QList<QPair<QByteArray, QByteArray>>& pairs)
{
    for (const auto& [password, username] : pairs)
        fixture.window().resultList().insertAtTop({password, username});
}

// A list of five rows "p0|u0" (top) to "p4|u4" (bottom).
void fillFive(WindowFixture& fixture)
{
    fill(fixture, {{"p4", "u4"}, {"p3", "u3"}, {"p2", "u2"}, {"p1", "u1"}, {"p0", "u0"}});
}

void enterPair(WindowFixture& fixture, const QString& password, const QString& username)
{
    fixture.type(IdPassword, password);
    fixture.type(IdUsername, username);
}

// The width the view's own delegate needs to draw a cell in full.
int neededWidth(const ResultListView* view, int row, int column)
{
    QStyleOptionViewItem option;
    option.initFrom(view);
    option.font = view->font();
    option.fontMetrics = view->fontMetrics();
    option.showDecorationSelected = true;
    return view->itemDelegate()->sizeHint(option, view->model()->index(row, column)).width();
}
} // namespace

class TestListCommands : public QObject
{
    Q_OBJECT

private slots:
    void insertedPairsStandNewestFirst();
    void emptyPasswordAddsNothing();
    void clickingARowLoadsIt();
    void arrowKeysMoveTheMarkButLoadNothing();
    void clickWithoutAMarkEmptiesTheEdits();
    void clickBelowTheRowsLoadsTheMarkedRowAgain();
    void updateWritesTheMarkedRowOnly_data();
    void updateWritesTheMarkedRowOnly();
    void updateWithoutUsernameChangesNothingButRefits();
    void failedValidationPromptsOnceAndTheCommandGoesOn_data();
    void failedValidationPromptsOnceAndTheCommandGoesOn();
    void updateWithoutMarkChangesNothing();
    void deleteRemovesTheMarkedRowOnly();
    void deleteAfterClickKeepsThePairInTheEdits();
    void deleteWithoutMarkDoesNothing();
    void clearAsksAndRestoresTheControls_data();
    void clearAsksAndRestoresTheControls();
    void columnsAfterStartFitHeadingAndRest();
    void columnsAfterGenerateShowEveryText_data();
    void columnsAfterGenerateShowEveryText();
    void columnsAfterGenerateFitTextsThatKernAndOverhang();
    void columnsFitTextsBeyondAscii();
    void bytesThatAreNotUtf8SurviveLoadAndUpdate();
};

void TestListCommands::insertedPairsStandNewestFirst()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    enterPair(fixture, u"a"_s, u"x"_s);
    window.InsertCurrentPair();
    enterPair(fixture, u"b"_s, QString());
    window.InsertCurrentPair();
    enterPair(fixture, u"c"_s, u"z"_s);
    window.InsertCurrentPair();
    QCOMPARE(shownRows(fixture), (QStringList{u"c|z"_s, u"b|"_s, u"a|x"_s}));
}

void TestListCommands::emptyPasswordAddsNothing()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    enterPair(fixture, QString(), u"someone"_s);
    window.InsertCurrentPair();
    QCOMPARE(window.resultList().rowCount(), 0);
    QCOMPARE(fixture.edit(IdPassword)->text(), QString());
    QCOMPARE(fixture.edit(IdUsername)->text(), u"someone"_s);
}

void TestListCommands::clickingARowLoadsIt()
{
    WindowFixture fixture;
    fixture.open();
    fillFive(fixture);
    fixture.clickRow(2);
    QCOMPARE(fixture.edit(IdPassword)->text(), u"p2"_s);
    QCOMPARE(fixture.edit(IdUsername)->text(), u"u2"_s);
    fixture.clickRow(4);
    QCOMPARE(fixture.edit(IdPassword)->text(), u"p4"_s);
    QCOMPARE(fixture.edit(IdUsername)->text(), u"u4"_s);
}

void TestListCommands::arrowKeysMoveTheMarkButLoadNothing()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    fillFive(fixture);
    fixture.clickRow(1);
    QTest::keyClick(window.listView(), Qt::Key_Down);
    QTest::keyClick(window.listView(), Qt::Key_Down);
    QCOMPARE(window.listView()->selectionMark(), 3);
    QCOMPARE(fixture.edit(IdPassword)->text(), u"p1"_s);
    QCOMPARE(fixture.edit(IdUsername)->text(), u"u1"_s);
    QTest::keyClick(window.listView(), Qt::Key_Up);
    QCOMPARE(window.listView()->selectionMark(), 2);
    QCOMPARE(fixture.edit(IdPassword)->text(), u"p1"_s);
}

void TestListCommands::clickWithoutAMarkEmptiesTheEdits()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    fill(fixture, {{"p1", "u1"}, {"p0", "u0"}});
    enterPair(fixture, u"typed"_s, u"name"_s);
    fixture.clickListBelowRows();
    QCOMPARE(window.listView()->selectionMark(), -1);
    QCOMPARE(fixture.edit(IdPassword)->text(), QString());
    QCOMPARE(fixture.edit(IdUsername)->text(), QString());
    QCOMPARE(window.resultList().rowCount(), 2);
}

void TestListCommands::clickBelowTheRowsLoadsTheMarkedRowAgain()
{
    WindowFixture fixture;
    fixture.open();
    fill(fixture, {{"p1", "u1"}, {"p0", "u0"}});
    fixture.clickRow(1);
    enterPair(fixture, u"typed"_s, u"name"_s);
    fixture.clickListBelowRows();
    QCOMPARE(fixture.edit(IdPassword)->text(), u"p1"_s);
    QCOMPARE(fixture.edit(IdUsername)->text(), u"u1"_s);
}

void TestListCommands::updateWritesTheMarkedRowOnly_data()
{
    QTest::addColumn<bool>("byMenu");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("username");
    QTest::newRow("Update writes both fields into the fourth row and nowhere else")
        << false << u"new password"_s << u"new name"_s;
    QTest::newRow("the Options menu's Update does the same") << true << u"new password"_s << u"new name"_s;
    QTest::newRow("Update with a username and an empty password empties the row's password")
        << false << QString() << u"new name"_s;
}

void TestListCommands::updateWritesTheMarkedRowOnly()
{
    QFETCH(bool, byMenu);
    QFETCH(QString, password);
    QFETCH(QString, username);
    WindowFixture fixture;
    fixture.open();
    fillFive(fixture);
    fixture.clickRow(3);
    enterPair(fixture, password, username);
    if (byMenu)
        fixture.triggerMenu(CmdUpdate);
    else
        fixture.click(IdUpdate);

    QStringList expected{u"p0|u0"_s, u"p1|u1"_s, u"p2|u2"_s, u"p3|u3"_s, u"p4|u4"_s};
    expected[3] = password + u'|' + username;
    QCOMPARE(shownRows(fixture), expected);
    // The controls are not written back.
    QCOMPARE(fixture.edit(IdPassword)->text(), password);
    QVERIFY(fixture.desktop.messages.isEmpty());
}

void TestListCommands::updateWithoutUsernameChangesNothingButRefits()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    fillFive(fixture);
    fixture.click(IdGenerate);
    QHeaderView* header = window.listView()->header();
    const int fitted = header->sectionSize(0);
    // As if the user had dragged the divider far to the left.
    header->resizeSection(0, 5);
    const QStringList before = shownRows(fixture);

    fixture.clickRow(3);
    enterPair(fixture, u"a much longer password than any in the list"_s, QString());
    fixture.click(IdUpdate);

    QCOMPARE(shownRows(fixture), before);
    QCOMPARE(header->sectionSize(0), fitted);
}

void TestListCommands::failedValidationPromptsOnceAndTheCommandGoesOn_data()
{
    QTest::addColumn<bool>("update");
    QTest::newRow("a click in the list with 0 characters prompts once and still loads the row") << false;
    QTest::newRow("Update with 0 characters prompts once and still writes the row") << true;
}

void TestListCommands::failedValidationPromptsOnceAndTheCommandGoesOn()
{
    QFETCH(bool, update);
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    QVERIFY(fixture.activate());
    fillFive(fixture);
    if (update)
        fixture.clickRow(2);
    fixture.type(IdCharacterCount, u"0"_s);
    if (update) {
        enterPair(fixture, u"P"_s, u"U"_s);
        fixture.click(IdUpdate);
        QCOMPARE(fixture.shownCell(2, 0), u"p2"_s);
        QCOMPARE(fixture.shownCell(2, 1), u"u2"_s);
    } else {
        fixture.clickRow(2);
        QCOMPARE(fixture.edit(IdPassword)->text(), u"p2"_s);
        QCOMPARE(fixture.edit(IdUsername)->text(), u"u2"_s);
    }
    QCOMPARE(fixture.desktop.messages.size(), 1);
    QVERIFY(fixture.desktop.messages[0].text.contains(u"Number of Characters"_s));
    QCOMPARE(QApplication::focusWidget(), window.control(IdCharacterCount));
}

void TestListCommands::updateWithoutMarkChangesNothing()
{
    WindowFixture fixture;
    fixture.open();
    fillFive(fixture);
    enterPair(fixture, u"P"_s, u"U"_s);
    fixture.click(IdUpdate);
    QCOMPARE(shownRows(fixture), (QStringList{u"p0|u0"_s, u"p1|u1"_s, u"p2|u2"_s, u"p3|u3"_s, u"p4|u4"_s}));
}

void TestListCommands::deleteRemovesTheMarkedRowOnly()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    fillFive(fixture);
    fixture.clickRow(0);
    fixture.clickRow(1, Qt::ControlModifier);
    fixture.clickRow(3, Qt::ControlModifier);
    QCOMPARE(window.listView()->selectionModel()->selectedRows().size(), 3);
    QCOMPARE(window.listView()->selectionMark(), 3);

    fixture.click(IdDelete);
    QCOMPARE(shownRows(fixture), (QStringList{u"p0|u0"_s, u"p1|u1"_s, u"p2|u2"_s, u"p4|u4"_s}));
    QVERIFY(fixture.desktop.questions.isEmpty());
}

void TestListCommands::deleteAfterClickKeepsThePairInTheEdits()
{
    WindowFixture fixture;
    fixture.open();
    fillFive(fixture);
    fixture.clickRow(2);
    fixture.triggerMenu(CmdDelete);
    QCOMPARE(shownRows(fixture), (QStringList{u"p0|u0"_s, u"p1|u1"_s, u"p3|u3"_s, u"p4|u4"_s}));
    QCOMPARE(fixture.edit(IdPassword)->text(), u"p2"_s);
    QCOMPARE(fixture.edit(IdUsername)->text(), u"u2"_s);
}

void TestListCommands::deleteWithoutMarkDoesNothing()
{
    WindowFixture fixture;
    fixture.open();
    fillFive(fixture);
    fixture.click(IdDelete);
    QCOMPARE(fixture.window().resultList().rowCount(), 5);
}

void TestListCommands::clearAsksAndRestoresTheControls_data()
{
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("byMenu");
    QTest::addColumn<int>("rowsLeft");
    QTest::newRow("Clear answered No keeps every row") << false << false << 5;
    QTest::newRow("Clear answered Yes empties the list") << true << false << 0;
    QTest::newRow("the Options menu's Clear answered Yes empties the list") << true << true << 0;
}

void TestListCommands::clearAsksAndRestoresTheControls()
{
    QFETCH(bool, answer);
    QFETCH(bool, byMenu);
    QFETCH(int, rowsLeft);
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    fillFive(fixture);
    fixture.clickRow(1);
    const QList<int> widths{window.listView()->columnWidth(0), window.listView()->columnWidth(1)};
    fixture.type(IdPairCount, u"77"_s);
    enterPair(fixture, u"typed"_s, u"name"_s);
    fixture.desktop.yesNoAnswers.push_back(answer);
    if (byMenu)
        fixture.triggerMenu(CmdClear);
    else
        fixture.click(IdClear);

    QCOMPARE(fixture.desktop.questions.size(), 1);
    QCOMPARE(fixture.desktop.questions[0].text, u"Are you sure that you want to clear list?"_s);
    QCOMPARE(fixture.desktop.questions[0].caption, u"Varnel"_s);
    QCOMPARE(window.resultList().rowCount(), rowsLeft);
    QCOMPARE(fixture.edit(IdPairCount)->text(), u"1"_s);
    QCOMPARE(fixture.edit(IdPassword)->text(), u"p1"_s);
    QCOMPARE(fixture.edit(IdUsername)->text(), u"u1"_s);
    QCOMPARE((QList<int>{window.listView()->columnWidth(0), window.listView()->columnWidth(1)}), widths);
}

void TestListCommands::columnsAfterStartFitHeadingAndRest()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    const ResultListView* view = window.listView();
    const QHeaderView* header = view->header();
    const int password = header->sectionSize(0);
    QVERIFY(password >= header->fontMetrics().horizontalAdvance(u"Password"_s));
    QCOMPARE(password, header->sectionSizeHint(0));
    QCOMPARE(password + header->sectionSize(1), view->viewport()->width());
}

void TestListCommands::columnsAfterGenerateShowEveryText_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("letterCase");
    QTest::addColumn<QString>("pairs");
    QTest::addColumn<QString>("characters");
    QTest::newRow("a few Mixed Alpha-Num-Sym pairs of 49 characters are shown uncut")
        << int(IdAlphaNumSym) << int(IdMixedCase) << u"3"_s << u"49"_s;
    QTest::newRow("many Upper Alphabetic pairs of 49 characters are shown uncut")
        << int(IdAlphabetic) << int(IdUpperCase) << u"300"_s << u"49"_s;
    QTest::newRow("short Numeric pairs that need a vertical scroll bar leave no horizontal one")
        << int(IdNumeric) << int(IdUpperCase) << u"12"_s << u"3"_s;
    QTest::newRow("two short Numeric pairs fill the list exactly")
        << int(IdNumeric) << int(IdUpperCase) << u"2"_s << u"3"_s;
}

void TestListCommands::columnsAfterGenerateShowEveryText()
{
    QFETCH(int, style);
    QFETCH(int, letterCase);
    QFETCH(QString, pairs);
    QFETCH(QString, characters);
    WindowFixture fixture(&SystemRandomSource::instance());
    CVarnelDlg& window = fixture.open();
    fixture.click(style);
    fixture.click(letterCase);
    fixture.type(IdPairCount, pairs);
    fixture.type(IdCharacterCount, characters);
    fixture.click(IdGenerate);
    QCoreApplication::processEvents();

    const ResultListView* view = window.listView();
    const int rows = window.resultList().rowCount();
    QCOMPARE(rows, pairs.toInt());
    const QFontMetrics metrics(view->font());
    for (int column = 0; column < 2; ++column) {
        for (int row = 0; row < rows; ++row) {
            const int needed = neededWidth(view, row, column);
            QVERIFY2(
                view->columnWidth(column) >= needed,
                qPrintable(
                    u"column %1 row %2: %3 < %4"_s.arg(column).arg(row).arg(view->columnWidth(column)).arg(needed)));
            QVERIFY(view->columnWidth(column) > metrics.horizontalAdvance(fixture.shownCell(row, column)));
        }
    }
    // The last column reaches the right edge, and goes past it only when its widest text needs the room.
    int widestUsername = 0;
    for (int row = 0; row < rows; ++row)
        widestUsername = std::max(widestUsername, neededWidth(view, row, 1));
    const int used = view->columnWidth(0) + view->columnWidth(1);
    const int room = view->viewport()->width();
    if (view->columnWidth(0) + widestUsername <= room) {
        QCOMPARE(used, room);
        QVERIFY(!view->horizontalScrollBar()->isVisible());
    } else {
        QVERIFY2(view->columnWidth(1) < widestUsername + metrics.averageCharWidth(),
                 qPrintable(
                     u"%1 vs %2 + %3"_s.arg(view->columnWidth(1)).arg(widestUsername).arg(metrics.averageCharWidth())));
    }
}

// Texts whose drawn width is more than the sum of their characters' own widths: pairs that the font
// spaces apart, "ff", and last characters that reach past their advance.
void TestListCommands::columnsAfterGenerateFitTextsThatKernAndOverhang()
{
    const QByteArray alphabet("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789!@#$%^&*()_+=-';:][{}.<>");
    const QList<QByteArray> texts{
        "Vb.s<HGlZ9H>vylT9!={L$-JpDnr9f!2)N=#jf=FZO+wK4<$K", "AbRX]z[G[-SnxUN.my1b6uDT2o<t7<QeSEq;6AzRRX0^A3^Wt",
        "^-=PQF@8WW)u7rhbDPSrxGt}BUQ)ht;Z^*45:Xn96#)tp*yQt", "HqeIED3tBzY06iMvvc5Mqm'je.Nr1RMaAvY6Ip%wMch+uqK[f",
        "zmlCyg:[H'FW3$qo9BD]3<b3u:({012SDTZG<}cpZT;buzjyk", "-NH{c;g1n*+<Stz+N'rfx.19kH0BIMn(;EpwDkO-fW0]Ym)uf",
    };
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    fixture.click(IdMixedCase);
    fixture.click(IdAlphaNumSym);
    fixture.type(IdPairCount, u"3"_s);
    fixture.type(IdCharacterCount, u"49"_s);
    for (const QByteArray& text : texts) {
        for (const char c : text)
            fixture.scripted.values.push_back(static_cast<quint32>(alphabet.indexOf(c)));
    }
    fixture.click(IdGenerate);

    const ResultListView* view = window.listView();
    QCOMPARE(fixture.shownCell(2, 0), QString::fromLatin1(texts[0]));
    for (int column = 0; column < 2; ++column) {
        for (int row = 0; row < 3; ++row) {
            const int needed = neededWidth(view, row, column);
            QVERIFY2(
                view->columnWidth(column) >= needed,
                qPrintable(
                    u"column %1 row %2: %3 < %4"_s.arg(column).arg(row).arg(view->columnWidth(column)).arg(needed)));
        }
    }
}

void TestListCommands::columnsFitTextsBeyondAscii()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    fill(fixture,
         {{"\xe6\xbc\xa2\xe5\xad\x97\xe6\xbc\xa2\xe5\xad\x97\xe6\xbc\xa2\xe5\xad\x97",
           "\xc3\x9cn\xc3\xaf"
           "c\xc3\xb6"
           "d\xc3\xa9"},
          {"\xff\xfe\xfd\xfc\xfb\xfa\xf9\xf8", "tab\there"},
          {"WWWWWWWWWWWW", "iiii"},
          {"AVAVAVAVAVAVAVAV", "\xf0\x9f\x94\x91 key"}});
    // Update without a username changes no row but fits the columns.
    fixture.click(IdUpdate);

    const ResultListView* view = window.listView();
    for (int column = 0; column < 2; ++column) {
        for (int row = 0; row < 4; ++row) {
            const int needed = neededWidth(view, row, column);
            QVERIFY2(
                view->columnWidth(column) >= needed,
                qPrintable(
                    u"column %1 row %2: %3 < %4"_s.arg(column).arg(row).arg(view->columnWidth(column)).arg(needed)));
        }
    }
}

// Texts are bytes: what the edits show of bytes that are not UTF-8 goes back into the list unchanged.
void TestListCommands::bytesThatAreNotUtf8SurviveLoadAndUpdate()
{
    const QByteArray password("pa\xff\xfe\0s\ts\x80", 9);
    const QByteArray username("\xc3(user\xe9");
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    fill(fixture, {{password, username}, {"top", "row"}});
    fixture.clickRow(1);
    QVERIFY(!fixture.edit(IdPassword)->text().isEmpty());
    fixture.click(IdUpdate);
    QCOMPARE(window.resultList().cellText(1, 0), password);
    QCOMPARE(window.resultList().cellText(1, 1), username);

    window.InsertCurrentPair();
    QCOMPARE(window.resultList().cellText(0, 0), password);
    QCOMPARE(window.resultList().cellText(0, 1), username);
}

QTEST_MAIN(TestListCommands)
#include "tst_listcommands.moc"
