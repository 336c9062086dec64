#include "ModalAnswerer.h"
#include "WindowFixture.h"
#include "engine/RandomSource.h"
#include "list/ResultList.h"
#include "resources/Layouts.h"
#include "resources/Menu.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QRegularExpression>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
const QString TooMany = QStringLiteral("Too Many....");

QStringList shownColumn(WindowFixture& fixture, int column)
{
    QStringList texts;
    for (int row = 0; row < fixture.window().resultList().rowCount(); ++row)
        texts.append(fixture.shownCell(row, column));
    return texts;
}

qsizetype countOf(const QList<FakeDesktop::Message>& messages, const QString& text)
{
    return std::count_if(messages.cbegin(), messages.cend(),
                         [&](const FakeDesktop::Message& message) { return message.text == text; });
}

// Every chosen text of a row must consist of these characters only.
bool onlyFrom(const QString& text, const QString& alphabet)
{
    return std::all_of(text.cbegin(), text.cend(), [&](QChar c) { return alphabet.contains(c); });
}
} // namespace

class TestGenerate : public QObject
{
    Q_OBJECT

private slots:
    void defaultsMakeOneRowOfEightDigitTexts();
    void largestBatchMakesEveryRow();
    void ceilingsRefuseAndChangeNothing_data();
    void ceilingsRefuseAndChangeNothing();
    void realMessageBoxShowsTooMany();
    void usernamesFromFileHaveNoCeiling();
    void numberedUsernamesCountDownFromTheTop();
    void noUsernameStillInsertsEveryPair();
    void numericStyleIgnoresLetterCase_data();
    void numericStyleIgnoresLetterCase();
    void mixedSymbolsDrawFromAllEightySixCharacters();
    void scriptedValuesPickTheExpectedCharacters_data();
    void scriptedValuesPickTheExpectedCharacters();
    void zeroCharactersMakeNoRow();
    void buttonAndMenuItemGenerateAlike_data();
    void buttonAndMenuItemGenerateAlike();
    void batchWithoutSecureRandomNumbersChangesNothing_data();
    void batchWithoutSecureRandomNumbersChangesNothing();
};

void TestGenerate::defaultsMakeOneRowOfEightDigitTexts()
{
    WindowFixture fixture(&SystemRandomSource::instance());
    CVarnelDlg& window = fixture.open();
    fixture.click(IdGenerate);

    QCOMPARE(window.resultList().rowCount(), 1);
    const QRegularExpression eightDigits(QStringLiteral("^[0-9]{8}$"));
    QVERIFY(eightDigits.match(fixture.shownCell(0, 0)).hasMatch());
    QVERIFY(eightDigits.match(fixture.shownCell(0, 1)).hasMatch());
    QCOMPARE(fixture.edit(IdPassword)->text(), fixture.shownCell(0, 0));
    QCOMPARE(fixture.edit(IdUsername)->text(), fixture.shownCell(0, 1));
    QVERIFY(fixture.desktop.messages.isEmpty());
}

void TestGenerate::largestBatchMakesEveryRow()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    fixture.type(IdPairCount, QStringLiteral("9999"));
    fixture.type(IdCharacterCount, QStringLiteral("49"));
    fixture.click(IdGenerate);

    QVERIFY(fixture.desktop.messages.isEmpty());
    QCOMPARE(window.resultList().rowCount(), 9999);
    const QRegularExpression digits49(QStringLiteral("^[0-9]{49}$"));
    for (int row = 0; row < 9999; ++row) {
        QVERIFY2(digits49.match(fixture.shownCell(row, 0)).hasMatch(), qPrintable(QString::number(row)));
        QVERIFY2(digits49.match(fixture.shownCell(row, 1)).hasMatch(), qPrintable(QString::number(row)));
    }
    QCOMPARE(fixture.scripted.drawn, quint64(9999) * 98);
    QCOMPARE(fixture.edit(IdPassword)->text(), fixture.shownCell(0, 0));
    QCOMPARE(fixture.edit(IdUsername)->text(), fixture.shownCell(0, 1));
}

void TestGenerate::ceilingsRefuseAndChangeNothing_data()
{
    QTest::addColumn<QString>("pairs");
    QTest::addColumn<QString>("characters");
    QTest::addColumn<int>("validationPrompts");
    QTest::newRow("10000 pairs, which the field accepts, are refused")
        << QStringLiteral("10000") << QStringLiteral("8") << 0;
    QTest::newRow("50 characters, which the field accepts, are refused")
        << QStringLiteral("1") << QStringLiteral("50") << 0;
    QTest::newRow("10001 pairs bring the field's prompt and then the refusal")
        << QStringLiteral("10001") << QStringLiteral("8") << 1;
}

void TestGenerate::ceilingsRefuseAndChangeNothing()
{
    QFETCH(QString, pairs);
    QFETCH(QString, characters);
    QFETCH(int, validationPrompts);
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    fixture.click(IdGenerate);
    const QStringList passwords = shownColumn(fixture, 0);
    const QStringList usernames = shownColumn(fixture, 1);
    const QString shownPassword = fixture.edit(IdPassword)->text();
    const QString shownUsername = fixture.edit(IdUsername)->text();
    const quint64 drawn = fixture.scripted.drawn;

    fixture.type(IdPairCount, pairs);
    fixture.type(IdCharacterCount, characters);
    fixture.click(IdGenerate);

    const QList<FakeDesktop::Message>& messages = fixture.desktop.messages;
    QCOMPARE(messages.size(), validationPrompts + 1);
    QCOMPARE(messages.constLast().text, TooMany);
    QCOMPARE(messages.constLast().caption, TooMany);
    QCOMPARE(messages.constLast().icon, Desktop::Icon::None);
    QCOMPARE(countOf(messages, TooMany), 1);
    QCOMPARE(shownColumn(fixture, 0), passwords);
    QCOMPARE(shownColumn(fixture, 1), usernames);
    QCOMPARE(fixture.edit(IdPassword)->text(), shownPassword);
    QCOMPARE(fixture.edit(IdUsername)->text(), shownUsername);
    QCOMPARE(fixture.scripted.drawn, drawn);
    QCOMPARE(window.resultList().rowCount(), 1);
}

// The same refusal through the real message box, answered from a timer as a user would.
void TestGenerate::realMessageBoxShowsTooMany()
{
    QtDesktop desktop;
    WindowFixture fixture;
    CVarnelDlg& window = fixture.openWith(desktop);
    fixture.type(IdPairCount, QStringLiteral("10000"));

    QString text;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::Warning;
    qsizetype buttons = 0;
    bool answered = false;
    ModalAnswerer answerer;
    answerer.onMessageBox = [&](QMessageBox& box) {
        text = box.text();
        caption = box.windowTitle();
        icon = box.icon();
        buttons = box.buttons().size();
        QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton);
        answered = true;
    };
    fixture.click(IdGenerate);

    QVERIFY(answered);
    QCOMPARE(text, TooMany);
    QCOMPARE(caption, TooMany);
    QCOMPARE(icon, QMessageBox::NoIcon);
    QCOMPARE(buttons, 1);
    QCOMPARE(window.resultList().rowCount(), 0);
    QVERIFY(window.isVisible());
}

void TestGenerate::usernamesFromFileHaveNoCeiling()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    fixture.click(IdLoadUsernames);
    fixture.type(IdPairCount, QStringLiteral("10000"));
    fixture.click(IdGenerate);

    QCOMPARE(countOf(fixture.desktop.messages, TooMany), 0);
    // The import ran instead: it asked for a file, and nothing was made when none was chosen.
    QCOMPARE(fixture.desktop.fileRequests.size(), 1);
    QCOMPARE(window.resultList().rowCount(), 0);
}

void TestGenerate::numberedUsernamesCountDownFromTheTop()
{
    WindowFixture fixture;
    fixture.open();
    fixture.click(IdNumberedUsernames);
    fixture.type(IdPairCount, QStringLiteral("3"));
    fixture.click(IdGenerate);

    QCOMPARE(shownColumn(fixture, 1), (QStringList{u"3"_s, u"2"_s, u"1"_s}));
    QCOMPARE(fixture.edit(IdUsername)->text(), u"3"_s);
    QCOMPARE(fixture.edit(IdPassword)->text(), fixture.shownCell(0, 0));
    const QStringList firstPasswords = shownColumn(fixture, 0);

    fixture.click(IdGenerate);
    QCOMPARE(shownColumn(fixture, 1), (QStringList{u"3"_s, u"2"_s, u"1"_s, u"3"_s, u"2"_s, u"1"_s}));
    QCOMPARE(shownColumn(fixture, 0).mid(3), firstPasswords);
    QCOMPARE(fixture.edit(IdUsername)->text(), u"3"_s);
    QCOMPARE(fixture.edit(IdPassword)->text(), fixture.shownCell(0, 0));
}

void TestGenerate::noUsernameStillInsertsEveryPair()
{
    WindowFixture fixture;
    fixture.open();
    fixture.click(IdNoUsername);
    fixture.type(IdPairCount, QStringLiteral("4"));
    fixture.click(IdGenerate);

    QCOMPARE(shownColumn(fixture, 1), QStringList(4, QString()));
    for (const QString& password : shownColumn(fixture, 0))
        QCOMPARE(password.size(), 8);
    QCOMPARE(fixture.scripted.drawn, quint64(4 * 8));
    QCOMPARE(fixture.edit(IdUsername)->text(), QString());
}

void TestGenerate::numericStyleIgnoresLetterCase_data()
{
    QTest::addColumn<int>("letterCase");
    QTest::newRow("Numeric with Upper Case gives digits for both texts") << int(IdUpperCase);
    QTest::newRow("Numeric with Lower Case gives digits for both texts") << int(IdLowerCase);
    QTest::newRow("Numeric with Mixed Case gives digits for both texts") << int(IdMixedCase);
}

void TestGenerate::numericStyleIgnoresLetterCase()
{
    QFETCH(int, letterCase);
    WindowFixture fixture(&SystemRandomSource::instance());
    fixture.open();
    fixture.click(letterCase);
    fixture.type(IdPairCount, QStringLiteral("50"));
    fixture.type(IdCharacterCount, QStringLiteral("12"));
    fixture.click(IdGenerate);

    const QRegularExpression digits(QStringLiteral("^[0-9]{12}$"));
    for (int row = 0; row < 50; ++row) {
        QVERIFY(digits.match(fixture.shownCell(row, 0)).hasMatch());
        QVERIFY(digits.match(fixture.shownCell(row, 1)).hasMatch());
    }
}

void TestGenerate::mixedSymbolsDrawFromAllEightySixCharacters()
{
    const QString alphabet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789!@#$%^&*()_+=-';:][{}.<>");
    QCOMPARE(alphabet.size(), 86);
    WindowFixture fixture(&SystemRandomSource::instance());
    fixture.open();
    fixture.click(IdMixedCase);
    fixture.click(IdAlphaNumSym);
    fixture.type(IdPairCount, QStringLiteral("500"));
    fixture.click(IdGenerate);

    QSet<QChar> seen;
    for (int row = 0; row < 500; ++row) {
        for (int column = 0; column < 2; ++column) {
            const QString text = fixture.shownCell(row, column);
            QCOMPARE(text.size(), 8);
            QVERIFY2(onlyFrom(text, alphabet), qPrintable(text));
            for (QChar c : text)
                seen.insert(c);
        }
    }
    // 8000 draws leave none of the 86 characters out, short of a chance far below one in 10^30.
    QCOMPARE(seen.size(), 86);
}

void TestGenerate::scriptedValuesPickTheExpectedCharacters_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("letterCase");
    QTest::addColumn<int>("usernameStyle");
    QTest::addColumn<QString>("characters");
    QTest::addColumn<QList<quint32>>("values");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("username");

    QTest::newRow("Numeric turns each value into its digit, the username drawn after the password")
        << int(IdNumeric) << int(IdUpperCase) << int(IdRandomUsername) << u"4"_s
        << QList<quint32>{1, 2, 3, 4, 9, 8, 7, 6} << u"1234"_s << u"9876"_s;
    QTest::newRow("Mixed Alpha-Num-Sym starts at A, ends at >, and has ] before [")
        << int(IdAlphaNumSym) << int(IdMixedCase) << int(IdRandomUsername) << u"4"_s
        << QList<quint32>{0, 85, 79, 80, 26, 51, 52, 61} << u"A>]["_s << u"az09"_s;
    QTest::newRow("Mixed Alphabetic puts the lower case first")
        << int(IdAlphabetic) << int(IdMixedCase) << int(IdRandomUsername) << u"3"_s
        << QList<quint32>{0, 26, 51, 25, 1, 27} << u"aAZ"_s << u"zbB"_s;
    QTest::newRow("Mixed Alpha-Numeric puts the upper case first")
        << int(IdAlphaNumeric) << int(IdMixedCase) << int(IdRandomUsername) << u"3"_s
        << QList<quint32>{0, 26, 61, 52, 35, 36} << u"Aa9"_s << u"0jk"_s;
    QTest::newRow("Upper Alpha-Num-Sym puts digits after the letters and the symbols last")
        << int(IdAlphaNumSym) << int(IdUpperCase) << int(IdRandomUsername) << u"3"_s
        << QList<quint32>{26, 36, 59, 0, 35, 37} << u"0!>"_s << u"A9@"_s;
    QTest::newRow("Lower Alpha-Numeric has lower-case letters then digits")
        << int(IdAlphaNumeric) << int(IdLowerCase) << int(IdRandomUsername) << u"2"_s << QList<quint32>{0, 35, 10, 26}
        << u"a9"_s << u"k0"_s;
    QTest::newRow("Upper Alphabetic with No Username draws for the password only")
        << int(IdAlphabetic) << int(IdUpperCase) << int(IdNoUsername) << u"3"_s << QList<quint32>{0, 12, 25} << u"AMZ"_s
        << QString();
    QTest::newRow("Numbered usernames draw nothing for the username")
        << int(IdNumeric) << int(IdUpperCase) << int(IdNumberedUsernames) << u"2"_s << QList<quint32>{5, 0} << u"50"_s
        << u"1"_s;
}

void TestGenerate::scriptedValuesPickTheExpectedCharacters()
{
    QFETCH(int, style);
    QFETCH(int, letterCase);
    QFETCH(int, usernameStyle);
    QFETCH(QString, characters);
    QFETCH(QList<quint32>, values);
    QFETCH(QString, password);
    QFETCH(QString, username);
    WindowFixture fixture;
    fixture.open();
    fixture.click(style);
    fixture.click(letterCase);
    fixture.click(usernameStyle);
    fixture.type(IdCharacterCount, characters);
    fixture.scripted.values.assign(values.cbegin(), values.cend());
    fixture.click(IdGenerate);

    QCOMPARE(fixture.window().resultList().rowCount(), 1);
    QCOMPARE(fixture.shownCell(0, 0), password);
    QCOMPARE(fixture.shownCell(0, 1), username);
    QCOMPARE(fixture.scripted.drawn, quint64(values.size()));
}

// Zero characters reach the command only through a failed validation; every pair is then empty and
// none is added, while the edit fields end with the last pair made.
void TestGenerate::zeroCharactersMakeNoRow()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    fixture.click(IdGenerate);
    const QStringList before = shownColumn(fixture, 0);
    fixture.type(IdPairCount, QStringLiteral("3"));
    fixture.click(IdNumberedUsernames);
    fixture.type(IdCharacterCount, QStringLiteral("0"));
    fixture.click(IdGenerate);

    QCOMPARE(fixture.desktop.messages.size(), 1);
    QCOMPARE(shownColumn(fixture, 0), before);
    QCOMPARE(window.resultList().rowCount(), 1);
    QCOMPARE(fixture.edit(IdPassword)->text(), QString());
    QCOMPARE(fixture.edit(IdUsername)->text(), u"3"_s);
}

void TestGenerate::buttonAndMenuItemGenerateAlike_data()
{
    QTest::addColumn<bool>("byMenu");
    QTest::newRow("the Generate button makes the batch") << false;
    QTest::newRow("the Options menu's Generate item makes the same batch") << true;
}

void TestGenerate::buttonAndMenuItemGenerateAlike()
{
    QFETCH(bool, byMenu);
    WindowFixture fixture;
    fixture.open();
    fixture.type(IdPairCount, QStringLiteral("2"));
    if (byMenu)
        fixture.triggerMenu(CmdGenerate);
    else
        fixture.click(IdGenerate);

    // Values 0, 1, 2, ... in order: the first pair is made first and ends below the second.
    QCOMPARE(shownColumn(fixture, 0), (QStringList{u"67890123"_s, u"01234567"_s}));
    QCOMPARE(shownColumn(fixture, 1), (QStringList{u"45678901"_s, u"89012345"_s}));
    QCOMPARE(fixture.edit(IdPassword)->text(), u"67890123"_s);
    QCOMPARE(fixture.edit(IdUsername)->text(), u"45678901"_s);
    QVERIFY(fixture.desktop.messages.isEmpty());
}

void TestGenerate::batchWithoutSecureRandomNumbersChangesNothing_data()
{
    QTest::addColumn<int>("usernameStyle");
    QTest::newRow("a batch whose random numbers fail part-way is not shown at all") << int(IdRandomUsername);
    QTest::newRow("an import whose random numbers fail part-way is not shown at all") << int(IdLoadUsernames);
}

void TestGenerate::batchWithoutSecureRandomNumbersChangesNothing()
{
    QFETCH(int, usernameStyle);
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    fixture.click(IdGenerate);
    const QList<CredentialPair> rows = rowsOf(window);
    fixture.type(IdPassword, u"left"_s);
    fixture.type(IdUsername, u"over"_s);
    fixture.type(IdPairCount, u"3"_s);
    fixture.click(usernameStyle);
    const QString names = fixture.path(u"names.txt"_s);
    QFile file(names);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("alice\nbob\ncarol\n") == 16);
    file.close();
    fixture.desktop.fileAnswers.push_back(names);
    // Two pairs' worth of draws, then none.
    fixture.scripted.failAfter = fixture.scripted.drawn + 20;

    fixture.click(IdGenerate);

    QCOMPARE(fixture.desktop.messages.size(), 1);
    const FakeDesktop::Message& message = fixture.desktop.messages.constFirst();
    QCOMPARE(message.caption, u"Varnel"_s);
    QVERIFY2(message.text.startsWith(u"Secure random numbers are not available"_s), qPrintable(message.text));
    QVERIFY2(message.text.contains(u"Function not implemented"_s), qPrintable(message.text));
    QCOMPARE(rowsOf(window), rows);
    QCOMPARE(fixture.edit(IdPassword)->text(), u"left"_s);
    QCOMPARE(fixture.edit(IdUsername)->text(), u"over"_s);
    QCOMPARE(fixture.edit(IdPairCount)->text(), u"3"_s);
    QVERIFY(window.isVisible());
}

QTEST_MAIN(TestGenerate)
#include "tst_generate.moc"
