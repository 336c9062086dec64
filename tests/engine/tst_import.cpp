#include "ModalAnswerer.h"
#include "TestFiles.h"
#include "WindowFixture.h"
#include "list/ResultList.h"
#include "resources/Layouts.h"
#include "resources/Menu.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QtTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

using Pairs = QList<CredentialPair>;

QByteArrayList usernamesOf(const Pairs& rows)
{
    QByteArrayList names;
    for (const CredentialPair& row : rows)
        names.append(row.username);
    return names;
}

// One row made by Generate before the import, which the import must leave alone below its own rows.
CredentialPair generateOneNumberedPair(WindowFixture& fixture)
{
    fixture.click(IdNumberedUsernames);
    fixture.click(IdGenerate);
    return fixture.window().resultList().pairAt(0);
}

// Chooses the usernames file for the next Generate and presses Generate.
void importFrom(WindowFixture& fixture, const std::optional<QString>& path)
{
    fixture.click(IdLoadUsernames);
    fixture.desktop.fileAnswers.push_back(path);
    fixture.click(IdGenerate);
}

constexpr char Digits[] = "0123456789";
constexpr char LowerLetters[] = "abcdefghijklmnopqrstuvwxyz";
constexpr char EveryKind[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789!@#$%^&*()_+=-';:][{}.<>";

bool onlyFrom(const QByteArray& text, QByteArrayView allowed)
{
    for (const char c : text) {
        if (!allowed.contains(c))
            return false;
    }
    return true;
}

} // namespace

class TestImport : public QObject
{
    Q_OBJECT

private slots:
    void everyNameBecomesAPairNewestOnTop_data();
    void everyNameBecomesAPairNewestOnTop();
    void passwordsUseTheChosenAlphabet_data();
    void passwordsUseTheChosenAlphabet();
    void fiftyCharactersMakeFiftyCharacterPasswordsWhateverThePairCount();
    void characterCountsBeyondTheFieldAreRefused_data();
    void characterCountsBeyondTheFieldAreRefused();
    void filesWithoutANameAddNothing_data();
    void filesWithoutANameAddNothing();
    void cancelledChooserAddsNothing();
    void importEndingEarlyShowsTheRecordAgain_data();
    void importEndingEarlyShowsTheRecordAgain();
    void choicesThatCannotBeReadAreReported_data();
    void choicesThatCannotBeReadAreReported();
    void fileWithoutReadPermissionIsReported();
    void readErrorEndsTheImportWithAMessage();
    void tenMegabyteNameLeavesTheWindowUsable_data();
    void tenMegabyteNameLeavesTheWindowUsable();
    void workingDirectoryIsKeptWhateverTheChooserBrowses();
    void menuGenerateImportsAsTheButtonDoes();
    void chooserIsAnOpenChooserWithTheFourFilters();
    void realOpenDialogReadsTheTypedName_data();
    void realOpenDialogReadsTheTypedName();
};

void TestImport::everyNameBecomesAPairNewestOnTop_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArrayList>("topToBottom");

    QTest::newRow("two names ended by line feeds give two pairs, the last name on top")
        << "alice\nbob\n"_ba << QByteArrayList{"bob"_ba, "alice"_ba};
    QTest::newRow("carriage return and line feed ends give the same names without carriage returns")
        << "alice\r\nbob\r\n"_ba << QByteArrayList{"bob"_ba, "alice"_ba};
    QTest::newRow("a last name without a line feed is a name like the others")
        << "alice\nbob"_ba << QByteArrayList{"bob"_ba, "alice"_ba};
    QTest::newRow("a line of blanks is a name")
        << "alice\n   \nbob\n"_ba << QByteArrayList{"bob"_ba, "   "_ba, "alice"_ba};
    QTest::newRow("an empty line between names makes no row")
        << "alice\n\nbob\n"_ba << QByteArrayList{"bob"_ba, "alice"_ba};
    QTest::newRow("an empty line with a carriage return makes no row either")
        << "alice\r\n\r\nbob\r\n"_ba << QByteArrayList{"bob"_ba, "alice"_ba};
    QTest::newRow("a carriage return inside a line stays part of the name")
        << "al\rice\nbob\r\r\n"_ba << QByteArrayList{"bob\r"_ba, "al\rice"_ba};
    QTest::newRow("commas, tabs and quotes stay part of the name")
        << "\"smith, john\"\tx\n"_ba << QByteArrayList{"\"smith, john\"\tx"_ba};
    QTest::newRow("NUL bytes are kept in the names") << "a\x00z\n\x00\n"_ba << QByteArrayList{"\x00"_ba, "a\x00z"_ba};
    QTest::newRow("bytes that are not UTF-8 are kept exactly")
        << "caf\xe9\n\xff\xfe\xc3(\n"_ba << QByteArrayList{"\xff\xfe\xc3("_ba, "caf\xe9"_ba};
    QTest::newRow("a byte order mark at the very start of the file is no part of the first name, but kept later")
        << "\357\273\277alice\n\357\273\277bob\n"_ba << QByteArrayList{"\357\273\277bob"_ba, "alice"_ba};
}

void TestImport::everyNameBecomesAPairNewestOnTop()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArrayList, topToBottom);

    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    const CredentialPair earlier = generateOneNumberedPair(fixture);
    const QString path = fixture.path(u"names.txt"_s);
    createFile(path, content);

    importFrom(fixture, path);

    QVERIFY(fixture.desktop.messages.isEmpty());
    const Pairs rows = rowsOf(window);
    QCOMPARE(rows.size(), topToBottom.size() + 1);
    QCOMPARE(usernamesOf(rows.first(topToBottom.size())), topToBottom);
    for (qsizetype row = 0; row < topToBottom.size(); ++row) {
        QCOMPARE(window.resultList().pairAt(int(row)).username, topToBottom.at(row));
        QCOMPARE(rows.at(row).password.size(), 8);
        QVERIFY(onlyFrom(rows.at(row).password, Digits));
    }
    QCOMPARE(rows.last(), earlier);
    QVERIFY(fixture.edit(IdPassword)->text().isEmpty());
    QVERIFY(fixture.edit(IdUsername)->text().isEmpty());
    QCOMPARE(window.windowTitle(), u"Varnel: "_s + path);
}

void TestImport::passwordsUseTheChosenAlphabet_data()
{
    QTest::addColumn<int>("styleButton");
    QTest::addColumn<int>("caseButton");
    QTest::addColumn<QByteArray>("alphabet");

    QTest::newRow("Numeric passwords are digits") << int(IdNumeric) << int(IdUpperCase) << QByteArray(Digits);
    QTest::newRow("Alphabetic lower-case passwords are small letters")
        << int(IdAlphabetic) << int(IdLowerCase) << QByteArray(LowerLetters);
    QTest::newRow("Alpha-Num-Sym mixed-case passwords draw from letters, digits and symbols")
        << int(IdAlphaNumSym) << int(IdMixedCase) << QByteArray(EveryKind);
}

void TestImport::passwordsUseTheChosenAlphabet()
{
    QFETCH(int, styleButton);
    QFETCH(int, caseButton);
    QFETCH(QByteArray, alphabet);

    WindowFixture fixture(&SystemRandomSource::instance());
    CVarnelDlg& window = fixture.open();
    fixture.click(styleButton);
    fixture.click(caseButton);
    fixture.type(IdCharacterCount, u"40"_s);
    const QString path = fixture.path(u"names.txt"_s);
    createFile(path, "alice\nbob\ncarol\n"_ba);

    importFrom(fixture, path);

    const Pairs rows = rowsOf(window);
    QCOMPARE(rows.size(), 3);
    for (const CredentialPair& row : rows) {
        QCOMPARE(row.password.size(), 40);
        QVERIFY2(onlyFrom(row.password, alphabet), row.password.constData());
    }
}

void TestImport::fiftyCharactersMakeFiftyCharacterPasswordsWhateverThePairCount()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    fixture.type(IdCharacterCount, u"50"_s);
    fixture.type(IdPairCount, u"2"_s);
    const QString path = fixture.path(u"names.txt"_s);
    createFile(path, "a\nb\nc\nd\ne\n"_ba);

    importFrom(fixture, path);

    QVERIFY(fixture.desktop.messages.isEmpty());
    const Pairs rows = rowsOf(window);
    QCOMPARE(usernamesOf(rows), (QByteArrayList{"e"_ba, "d"_ba, "c"_ba, "b"_ba, "a"_ba}));
    for (const CredentialPair& row : rows)
        QCOMPARE(row.password.size(), 50);
}

void TestImport::characterCountsBeyondTheFieldAreRefused_data()
{
    QTest::addColumn<QString>("typed");

    QTest::newRow("51 characters are refused") << u"51"_s;
    QTest::newRow("999999999 characters are refused before a file is chosen") << u"999999999"_s;
}

void TestImport::characterCountsBeyondTheFieldAreRefused()
{
    QFETCH(QString, typed);

    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    const CredentialPair earlier = generateOneNumberedPair(fixture);
    const QString path = fixture.path(u"names.txt"_s);
    createFile(path, "alice\nbob\n"_ba);
    fixture.click(IdLoadUsernames);
    fixture.type(IdCharacterCount, typed);
    fixture.desktop.fileAnswers.push_back(path);

    fixture.click(IdGenerate);

    // The number field's own prompt first, then the refusal.
    QCOMPARE(fixture.desktop.messages.size(), 2);
    QVERIFY(fixture.desktop.messages.at(0).text.contains(u"Number of Characters:"_s));
    QCOMPARE(fixture.desktop.messages.at(1).text, u"Too Many...."_s);
    QCOMPARE(fixture.desktop.messages.at(1).caption, u"Too Many...."_s);
    QVERIFY(fixture.desktop.fileRequests.isEmpty());
    QCOMPARE(rowsOf(window), Pairs{earlier});
    QCOMPARE(window.windowTitle(), u"Varnel"_s);
}

void TestImport::filesWithoutANameAddNothing_data()
{
    QTest::addColumn<QByteArray>("content");

    QTest::newRow("an empty file adds nothing") << QByteArray();
    QTest::newRow("a file of line feeds only adds nothing") << "\n\n\n"_ba;
    QTest::newRow("a file of carriage return line feeds only adds nothing") << "\r\n\r\n"_ba;
}

void TestImport::filesWithoutANameAddNothing()
{
    QFETCH(QByteArray, content);

    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    const CredentialPair earlier = generateOneNumberedPair(fixture);
    const QString path = fixture.path(u"names.txt"_s);
    createFile(path, content);
    fixture.click(IdLoadUsernames);
    // A pair left in the edit fields is not slipped into the list by an import that found no name.
    fixture.type(IdPassword, u"left"_s);
    fixture.type(IdUsername, u"over"_s);
    fixture.desktop.fileAnswers.push_back(path);

    fixture.click(IdGenerate);

    QVERIFY(fixture.desktop.messages.isEmpty());
    QCOMPARE(rowsOf(window), Pairs{earlier});
    QCOMPARE(window.windowTitle(), u"Varnel: "_s + path);
}

void TestImport::cancelledChooserAddsNothing()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    const CredentialPair earlier = generateOneNumberedPair(fixture);
    fixture.click(IdLoadUsernames);
    fixture.type(IdPassword, u"left"_s);
    fixture.type(IdUsername, u"over"_s);
    fixture.desktop.fileAnswers.push_back(std::nullopt);

    fixture.click(IdGenerate);

    QCOMPARE(fixture.desktop.fileRequests.size(), 1);
    QVERIFY(fixture.desktop.messages.isEmpty());
    QCOMPARE(rowsOf(window), Pairs{earlier});
    QCOMPARE(window.windowTitle(), u"Varnel"_s);
    QCOMPARE(fixture.edit(IdPassword)->text(), u"left"_s);
    QCOMPARE(fixture.edit(IdUsername)->text(), u"over"_s);
}

void TestImport::importEndingEarlyShowsTheRecordAgain_data()
{
    QTest::addColumn<std::optional<QString>>("chosen");
    QTest::addColumn<QString>("characters");

    QTest::newRow("a cancelled chooser leaves the fields showing the record") << std::optional<QString>() << u"8"_s;
    QTest::newRow("a file that cannot be read leaves the fields showing the record")
        << std::optional<QString>(u"missing.txt"_s) << u"8"_s;
    QTest::newRow("the Too Many.... refusal leaves the fields showing the record")
        << std::optional<QString>() << u"51"_s;
}

// An emptied "Number to Generate:" is not read (the record keeps 1), and shows the record's 1 again.
void TestImport::importEndingEarlyShowsTheRecordAgain()
{
    QFETCH(std::optional<QString>, chosen);
    QFETCH(QString, characters);

    WindowFixture fixture;
    fixture.open();
    fixture.click(IdLoadUsernames);
    fixture.type(IdCharacterCount, characters);
    fixture.type(IdPairCount, QString());
    fixture.desktop.fileAnswers.push_back(chosen ? std::optional<QString>(fixture.path(*chosen)) : std::nullopt);

    fixture.click(IdGenerate);

    QCOMPARE(fixture.edit(IdPairCount)->text(), u"1"_s);
    QCOMPARE(fixture.edit(IdCharacterCount)->text(), characters);
    QCOMPARE(fixture.window().resultList().rowCount(), 0);
}

void TestImport::choicesThatCannotBeReadAreReported_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");

    QTest::newRow("a folder is reported as a folder") << u"folder"_s << u"It is a folder, not a file."_s;
    QTest::newRow("a name that does not exist is reported") << u"missing.txt"_s << u"No such file or directory"_s;
    QTest::newRow("a path below a regular file is reported") << u"plain/names.txt"_s << u"Not a directory"_s;
    QTest::newRow("a named pipe is refused rather than waited on")
        << u"pipe"_s << u"It is a device or a pipe, not a file."_s;
    QTest::newRow("a device that never ends is refused rather than read until memory runs out")
        << u"/dev/zero"_s << u"It is a device or a pipe, not a file."_s;
}

void TestImport::choicesThatCannotBeReadAreReported()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);

    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    const CredentialPair earlier = generateOneNumberedPair(fixture);
    QVERIFY(QDir(fixture.dir()).mkdir(u"folder"_s));
    createFile(fixture.path(u"folder/names.txt"_s), "alice\n"_ba);
    createFile(fixture.path(u"plain"_s), "alice\n"_ba);
    QCOMPARE(::mkfifo(nativePath(fixture.path(u"pipe"_s)).constData(), 0600), 0);
    if (name.startsWith(u'/') && !QFileInfo::exists(name))
        QSKIP("This system lacks the device");
    const QString path = name.startsWith(u'/') ? name : fixture.path(name);

    importFrom(fixture, path);

    QCOMPARE(fixture.desktop.oneMessageMismatch(u"Varnel"_s, u"The usernames could not be read."_s, {path, reason}),
             QString());
    QCOMPARE(rowsOf(window), Pairs{earlier});
    QCOMPARE(window.windowTitle(), u"Varnel: "_s + path);
}

void TestImport::fileWithoutReadPermissionIsReported()
{
    if (runningAsRoot())
        QSKIP("Root reads files without read permission anyway");
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    const QString path = fixture.path(u"secret.txt"_s);
    createFile(path, "alice\n"_ba, 0200);

    importFrom(fixture, path);

    QCOMPARE(
        fixture.desktop.oneMessageMismatch({}, u"The usernames could not be read."_s, {path, u"Permission denied"_s}),
        QString());
    QCOMPARE(window.resultList().rowCount(), 0);
}

// The process's own memory opens like a file but fails at the first read: the nearest to a disk that
// fails in mid-file that a test can get without special devices.
void TestImport::readErrorEndsTheImportWithAMessage()
{
    const QString path = u"/proc/self/mem"_s;
    if (!QFileInfo::exists(path))
        QSKIP("This system has no /proc/self/mem");
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    const CredentialPair earlier = generateOneNumberedPair(fixture);

    importFrom(fixture, path);

    QCOMPARE(fixture.desktop.oneMessageMismatch(u"Varnel"_s, u"Reading the usernames stopped part of the way"_s,
                                                {path, u"Input/output error"_s}),
             QString());
    QCOMPARE(rowsOf(window), Pairs{earlier});
}

void TestImport::tenMegabyteNameLeavesTheWindowUsable_data()
{
    QTest::addColumn<QByteArray>("lineEnd");

    QTest::newRow("a 10 MB name ended by a line feed is refused as too long") << "\n"_ba;
    QTest::newRow("a 10 MB name without a line feed is refused as too long") << QByteArray();
}

void TestImport::tenMegabyteNameLeavesTheWindowUsable()
{
    QFETCH(QByteArray, lineEnd);

    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    const QByteArray name(10 * 1024 * 1024, 'n');
    const QString path = fixture.path(u"huge.txt"_s);
    createFile(path, name + lineEnd);

    importFrom(fixture, path);

    QCOMPARE(fixture.desktop.oneMessageMismatch({}, {}, {u"line 1 is longer than 64 KiB"_s}), QString());
    QCOMPARE(window.resultList().rowCount(), 0);
    // Still answering: the next command runs, and the list can be shown and clicked.
    fixture.click(IdNumberedUsernames);
    fixture.click(IdGenerate);
    QCOMPARE(window.resultList().rowCount(), 1);
    QCOMPARE(window.resultList().pairAt(0).username, "1"_ba);
    window.repaint();
}

void TestImport::workingDirectoryIsKeptWhateverTheChooserBrowses()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    QTemporaryDir elsewhere;
    QVERIFY(elsewhere.isValid());
    const QString path = QDir(elsewhere.path()).filePath(u"names.txt"_s);
    createFile(path, "alice\n"_ba);
    fixture.desktop.whileChoosing = [&](const FileChooserSetup&) {
        QVERIFY(QDir::setCurrent(elsewhere.path()));
    };

    importFrom(fixture, path);

    QCOMPARE(QDir::currentPath(), fixture.dir());
    QCOMPARE(usernamesOf(rowsOf(window)), QByteArrayList{"alice"_ba});
    window.done(QDialog::Rejected);
    QVERIFY(QFileInfo::exists(fixture.path(u"vrn.ini"_s)));
    QVERIFY(!QFileInfo::exists(QDir(elsewhere.path()).filePath(u"vrn.ini"_s)));
}

void TestImport::menuGenerateImportsAsTheButtonDoes()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    const QString path = fixture.path(u"names.txt"_s);
    createFile(path, "alice\nbob\n"_ba);
    fixture.click(IdLoadUsernames);
    fixture.desktop.fileAnswers.push_back(path);

    fixture.triggerMenu(CmdGenerate);

    QCOMPARE(usernamesOf(rowsOf(window)), (QByteArrayList{"bob"_ba, "alice"_ba}));
}

void TestImport::chooserIsAnOpenChooserWithTheFourFilters()
{
    WindowFixture fixture;
    fixture.open();
    importFrom(fixture, std::nullopt);

    QCOMPARE(fixture.desktop.fileRequests.size(), 1);
    const FileChooserSetup& setup = fixture.desktop.fileRequests.constFirst();
    QCOMPARE(setup.mode, FileChooserSetup::Mode::Open);
    QCOMPARE(setup.filters,
             (QStringList{u"TXT Files (*.txt)"_s, u"DAT Files (*.dat)"_s, u"CSV Files (*.csv)"_s, u"All Files (*)"_s}));
}

void TestImport::realOpenDialogReadsTheTypedName_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expectedFile");

    // Usernames files on this system often have no extension.
    QTest::newRow("a typed name without extension opens the file of exactly that name")
        << QStringList{u"names"_s} << u"names"_s << u"names"_s;
    QTest::newRow("a typed name without extension opens its .txt file when no file has the bare name")
        << QStringList{u"names.txt"_s} << u"names"_s << u"names.txt"_s;
    QTest::newRow("a typed name without extension prefers the file of exactly that name to its .txt file")
        << QStringList{u"names"_s, u"names.txt"_s} << u"names"_s << u"names"_s;
    QTest::newRow("a typed name with an extension opens that file")
        << QStringList{u"names.csv"_s, u"names.txt"_s} << u"names.csv"_s << u"names.csv"_s;
}

void TestImport::realOpenDialogReadsTheTypedName()
{
    QFETCH(QStringList, files);
    QFETCH(QString, typed);
    QFETCH(QString, expectedFile);

    WindowFixture fixture;
    QtDesktop desktop;
    CVarnelDlg& window = fixture.openWith(desktop);
    // Each file holds its own name as the one username, so the rows tell which file was read.
    for (const QString& file : files)
        createFile(fixture.path(file), file.toUtf8() + '\n');
    fixture.click(IdLoadUsernames);

    ModalAnswerer answerer;
    answerer.onFileDialog = [typed](QFileDialog& chooser) {
        ModalAnswerer::acceptFileName(chooser, typed);
    };
    answerer.onMessageBox = [](QMessageBox& box) {
        box.reject();
    };

    fixture.click(IdGenerate);

    QVERIFY2(!answerer.timedOut, qPrintable(answerer.seen.join(u" / "_s)));
    QVERIFY2(answerer.seen == QStringList{u"QFileDialog"_s}, qPrintable(answerer.seen.join(u" / "_s)));
    QCOMPARE(usernamesOf(rowsOf(window)), QByteArrayList{expectedFile.toUtf8()});
    QCOMPARE(window.windowTitle(), u"Varnel: "_s + fixture.path(expectedFile));
    QCOMPARE(QDir::currentPath(), fixture.dir());
}

QTEST_MAIN(TestImport)
#include "tst_import.moc"
