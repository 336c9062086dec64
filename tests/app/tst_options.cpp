#include "WindowFixture.h"
#include "list/ResultList.h"
#include "resources/Layouts.h"

#include <QAbstractButton>
#include <QtTest>

#include <limits>

namespace {
// Every radio button, group by group, as the window lays them out.
const QList<QList<int>> ChoiceGroups{
    {IdNumeric, IdAlphabetic, IdAlphaNumeric, IdAlphaNumSym},
    {IdUpperCase, IdLowerCase, IdMixedCase},
    {IdRandomUsername, IdLoadUsernames, IdNumberedUsernames, IdNoUsername},
    {IdCsv, IdOnePerLine},
};
const QList<int> DefaultChoices{IdNumeric, IdUpperCase, IdRandomUsername, IdCsv};

QList<int> checkedButtons(const WindowFixture& fixture)
{
    QList<int> checked;
    for (const QList<int>& group : ChoiceGroups) {
        for (int id : group) {
            if (fixture.button(id)->isChecked())
                checked.append(id);
        }
    }
    return checked;
}

int groupOf(int id)
{
    for (qsizetype g = 0; g < ChoiceGroups.size(); ++g) {
        if (ChoiceGroups[g].contains(id))
            return static_cast<int>(g);
    }
    return -1;
}
} // namespace

class TestOptions : public QObject
{
    Q_OBJECT

private slots:
    void startsWithTheDefaultsShown();
    void clickingAChoiceClearsOnlyItsOwnGroup_data();
    void clickingAChoiceClearsOnlyItsOwnGroup();
    void clickingTheChosenButtonKeepsItChosen_data();
    void clickingTheChosenButtonKeepsItChosen();
    void choiceHandlersKeepOrDiscardTypedNumbers_data();
    void choiceHandlersKeepOrDiscardTypedNumbers();
    void outOfRangeNumberIsStoredAndReportedOnce_data();
    void outOfRangeNumberIsStoredAndReportedOnce();
    void unparsableNumberKeepsThePreviousValue();
    void tenThousandPairsPassValidation();
    void numberEditsAcceptDigitsOnly_data();
    void numberEditsAcceptDigitsOnly();
    void zeroCharactersForManyPairsPromptsOnlyOnce();
};

void TestOptions::startsWithTheDefaultsShown()
{
    WindowFixture fixture;
    fixture.open();
    QCOMPARE(checkedButtons(fixture), DefaultChoices);
    QCOMPARE(fixture.edit(IdCharacterCount)->text(), QStringLiteral("8"));
    QCOMPARE(fixture.edit(IdPairCount)->text(), QStringLiteral("1"));
    QCOMPARE(fixture.edit(IdPassword)->text(), QString());
    QCOMPARE(fixture.edit(IdUsername)->text(), QString());
}

void TestOptions::clickingAChoiceClearsOnlyItsOwnGroup_data()
{
    QTest::addColumn<int>("clicked");
    QTest::newRow("Alphabetic replaces Numeric and no other group changes") << int(IdAlphabetic);
    QTest::newRow("Alpha-Numeric replaces Numeric and no other group changes") << int(IdAlphaNumeric);
    QTest::newRow("Alpha-Num-Sym replaces Numeric and no other group changes") << int(IdAlphaNumSym);
    QTest::newRow("Lower Case replaces Upper Case and no other group changes") << int(IdLowerCase);
    QTest::newRow("Mixed Case replaces Upper Case and no other group changes") << int(IdMixedCase);
    QTest::newRow("Load Usernames replaces Random Username and no other group changes") << int(IdLoadUsernames);
    QTest::newRow("Numbered Usernames replaces Random Username and no other group changes") << int(IdNumberedUsernames);
    QTest::newRow("No Username replaces Random Username and no other group changes") << int(IdNoUsername);
    QTest::newRow("One Per Line replaces CSV and no other group changes") << int(IdOnePerLine);
}

void TestOptions::clickingAChoiceClearsOnlyItsOwnGroup()
{
    QFETCH(int, clicked);
    WindowFixture fixture;
    fixture.open();
    fixture.click(clicked);

    QList<int> expected = DefaultChoices;
    expected[groupOf(clicked)] = clicked;
    QCOMPARE(checkedButtons(fixture), expected);
    QVERIFY(fixture.desktop.messages.isEmpty());
}

void TestOptions::clickingTheChosenButtonKeepsItChosen_data()
{
    QTest::addColumn<int>("clicked");
    QTest::newRow("Numeric clicked again stays the one password style") << int(IdNumeric);
    QTest::newRow("Upper Case clicked again stays the one letter case") << int(IdUpperCase);
    QTest::newRow("Random Username clicked again stays the one username style") << int(IdRandomUsername);
    QTest::newRow("CSV clicked again stays the one save layout") << int(IdCsv);
}

void TestOptions::clickingTheChosenButtonKeepsItChosen()
{
    QFETCH(int, clicked);
    WindowFixture fixture;
    fixture.open();
    fixture.click(clicked);
    fixture.click(clicked);
    QCOMPARE(checkedButtons(fixture), DefaultChoices);
}

void TestOptions::choiceHandlersKeepOrDiscardTypedNumbers_data()
{
    QTest::addColumn<int>("clicked");
    QTest::addColumn<QString>("shownAfterwards");
    QTest::newRow("One Per Line puts the stored pair count back") << int(IdOnePerLine) << QStringLiteral("1");
    QTest::newRow("CSV puts the stored pair count back") << int(IdCsv) << QStringLiteral("1");
    QTest::newRow("Alphabetic reads the typed pair count first and keeps it")
        << int(IdAlphabetic) << QStringLiteral("20");
    QTest::newRow("Mixed Case reads the typed pair count first and keeps it")
        << int(IdMixedCase) << QStringLiteral("20");
    QTest::newRow("No Username reads the typed pair count first and keeps it")
        << int(IdNoUsername) << QStringLiteral("20");
}

void TestOptions::choiceHandlersKeepOrDiscardTypedNumbers()
{
    QFETCH(int, clicked);
    QFETCH(QString, shownAfterwards);
    WindowFixture fixture;
    fixture.open();
    fixture.type(IdPairCount, QStringLiteral("20"));
    fixture.click(clicked);
    QCOMPARE(fixture.edit(IdPairCount)->text(), shownAfterwards);
    QCOMPARE(fixture.window().options().pairCount, shownAfterwards.toInt());
}

void TestOptions::outOfRangeNumberIsStoredAndReportedOnce_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("range");
    QTest::addColumn<qint32>("stored");
    QTest::addColumn<bool>("tooMany");
    const qint32 largest = std::numeric_limits<qint32>::max();
    QTest::newRow("60 characters is reported for Number of Characters with its range 1 to 50")
        << int(IdCharacterCount) << QStringLiteral("60") << QStringLiteral("Number of Characters")
        << QStringLiteral("1 to 50") << 60 << true;
    QTest::newRow("0 characters is reported for Number of Characters with its range 1 to 50")
        << int(IdCharacterCount) << QStringLiteral("0") << QStringLiteral("Number of Characters")
        << QStringLiteral("1 to 50") << 0 << false;
    QTest::newRow("10001 pairs is reported for Number to Generate with its range 1 to 10000")
        << int(IdPairCount) << QStringLiteral("10001") << QStringLiteral("Number to Generate")
        << QStringLiteral("1 to 10000") << 10001 << true;
    QTest::newRow("2147483648 pairs, beyond 32 bits, is held at the largest count and reported")
        << int(IdPairCount) << QStringLiteral("2147483648") << QStringLiteral("Number to Generate")
        << QStringLiteral("1 to 10000") << largest << true;
    QTest::newRow("99999999999 characters is held at the largest count and reported")
        << int(IdCharacterCount) << QStringLiteral("99999999999") << QStringLiteral("Number of Characters")
        << QStringLiteral("1 to 50") << largest << true;
}

// Generate reads the controls once per pair; the prompt still comes once, the out-of-range value is in
// the record, and the fields read after the failing one keep the values they had. A value at or above
// Generate's ceiling is then refused with "Too Many....".
void TestOptions::outOfRangeNumberIsStoredAndReportedOnce()
{
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(QString, label);
    QFETCH(QString, range);
    QFETCH(qint32, stored);
    QFETCH(bool, tooMany);
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    QVERIFY(fixture.activate());

    if (field == IdCharacterCount)
        fixture.type(IdPairCount, QStringLiteral("5"));
    fixture.type(IdPassword, QStringLiteral("typed password"));
    fixture.type(IdUsername, QStringLiteral("typed name"));
    fixture.type(field, typed);
    fixture.click(IdGenerate);

    const QList<FakeDesktop::Message> prompts = [&] {
        QList<FakeDesktop::Message> found;
        for (const FakeDesktop::Message& message : fixture.desktop.messages) {
            if (message.text != QStringLiteral("Too Many...."))
                found.append(message);
        }
        return found;
    }();
    QCOMPARE(prompts.size(), 1);
    QCOMPARE(fixture.desktop.messages.size() - prompts.size(), qsizetype(tooMany ? 1 : 0));
    QVERIFY2(prompts[0].text.contains(label), qPrintable(prompts[0].text));
    QVERIFY2(prompts[0].text.contains(range), qPrintable(prompts[0].text));
    QVERIFY2(prompts[0].text.contains(typed), qPrintable(prompts[0].text));
    QCOMPARE(prompts[0].caption, QStringLiteral("Varnel"));

    const GeneratorOptions& record = window.options();
    if (field == IdCharacterCount) {
        QCOMPARE(record.characterCount, stored);
        QCOMPARE(record.pairCount, 1);
    } else {
        QCOMPARE(record.pairCount, stored);
    }
    QCOMPARE(window.resultList().rowCount(), 0);
    QCOMPARE(record.currentPassword, QByteArray());
    QCOMPARE(record.currentUsername, QByteArray());
    QCOMPARE(QApplication::focusWidget(), fixture.edit(field));
}

void TestOptions::unparsableNumberKeepsThePreviousValue()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    fixture.type(IdPairCount, QStringLiteral("3"));
    fixture.click(IdNumberedUsernames);
    fixture.type(IdPairCount, QString());
    fixture.click(IdGenerate);

    QCOMPARE(fixture.desktop.messages.size(), 1);
    QVERIFY(fixture.desktop.messages[0].text.contains(QStringLiteral("Number to Generate")));
    QCOMPARE(fixture.desktop.messages[0].caption, QStringLiteral("Varnel"));
    QCOMPARE(window.options().pairCount, 3);
    // The command goes on with the count it had: three numbered pairs, and the count is shown again.
    QCOMPARE(window.resultList().rowCount(), 3);
    QCOMPARE(fixture.edit(IdPairCount)->text(), QStringLiteral("3"));
}

void TestOptions::tenThousandPairsPassValidation()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    fixture.type(IdPairCount, QStringLiteral("10000"));
    fixture.click(IdGenerate);

    // Only the command's own ceiling speaks; the field itself accepted the number.
    QCOMPARE(fixture.desktop.messages.size(), 1);
    QCOMPARE(fixture.desktop.messages[0].text, QStringLiteral("Too Many...."));
    QCOMPARE(window.options().pairCount, 10000);
    QCOMPARE(window.resultList().rowCount(), 0);
}

void TestOptions::numberEditsAcceptDigitsOnly_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::newRow("Number of Characters drops letters, signs and spaces")
        << int(IdCharacterCount) << QStringLiteral("1a -2+b") << QStringLiteral("12");
    QTest::newRow("Number to Generate drops letters, signs and spaces")
        << int(IdPairCount) << QStringLiteral("x4 5-y.") << QStringLiteral("45");
    QTest::newRow("the Password edit takes any character")
        << int(IdPassword) << QStringLiteral("1a -2+b") << QStringLiteral("1a -2+b");
    QTest::newRow("the Username edit takes any character")
        << int(IdUsername) << QStringLiteral("x4 5-y.") << QStringLiteral("x4 5-y.");
}

void TestOptions::numberEditsAcceptDigitsOnly()
{
    QFETCH(int, field);
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    WindowFixture fixture;
    fixture.open();
    fixture.type(field, keys);
    QCOMPARE(fixture.edit(field)->text(), shown);
}

void TestOptions::zeroCharactersForManyPairsPromptsOnlyOnce()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    fixture.type(IdPairCount, QStringLiteral("9999"));
    fixture.click(IdNumeric);
    QCOMPARE(window.options().pairCount, 9999);
    fixture.type(IdCharacterCount, QStringLiteral("0"));
    fixture.click(IdGenerate);

    QCOMPARE(fixture.desktop.messages.size(), 1);
    QVERIFY(fixture.desktop.messages[0].text.contains(QStringLiteral("Number of Characters")));
    QCOMPARE(window.resultList().rowCount(), 0);
    QCOMPARE(fixture.scripted.drawn, quint64(0));
    QCOMPARE(fixture.edit(IdPassword)->text(), QString());
    QCOMPARE(fixture.edit(IdUsername)->text(), QString());
    QCOMPARE(fixture.edit(IdCharacterCount)->text(), QStringLiteral("0"));
    QCOMPARE(fixture.edit(IdPairCount)->text(), QStringLiteral("9999"));
}

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
