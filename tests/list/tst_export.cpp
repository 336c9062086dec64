#include "FileSizeLimit.h"
#include "HostileFolder.h"
#include "ModalAnswerer.h"
#include "TestFiles.h"
#include "WindowFixture.h"
#include "list/ResultList.h"
#include "os/FileDescriptor.h"
#include "resources/Layouts.h"
#include "resources/Menu.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

using Pairs = QList<CredentialPair>;

// Puts a pair on top of the list the way every producer does: through the two edit fields.
void addPair(WindowFixture& fixture, const QString& password, const QString& username)
{
    fixture.type(IdPassword, password);
    fixture.type(IdUsername, username);
    fixture.window().InsertCurrentPair();
}

// (a, x), then (b, y), then (c, z): the list shows (c, z) on top and (a, x) at the bottom.
void addThreePairs(WindowFixture& fixture)
{
    addPair(fixture, u"a"_s, u"x"_s);
    addPair(fixture, u"b"_s, u"y"_s);
    addPair(fixture, u"c"_s, u"z"_s);
}

QString fieldText(WindowFixture& fixture, int id)
{
    return fixture.edit(id)->text();
}

} // namespace

class TestExport : public QObject
{
    Q_OBJECT

private slots:
    void writesRecordsOldestFirst_data();
    void writesRecordsOldestFirst();
    void emptyListGivesEmptyFileWithoutMessage_data();
    void emptyListGivesEmptyFileWithoutMessage();
    void menuSaveWritesAsTheButtonDoes();
    void cancelledChooserWritesNothingAndSaysNothing();
    void unwritableTargetsAreReported_data();
    void unwritableTargetsAreReported();
    void readOnlyFileIsReportedAndKept();
    void writeFailureKeepsTheExistingFile();
    void newFileIsForItsOwnerOnly_data();
    void newFileIsForItsOwnerOnly();
    void replacedFileKeepsItsPermissions_data();
    void replacedFileKeepsItsPermissions();
    void symbolicLinkLeadsToTheFileWrittenAndStays();
    void bytesThatAreNotUtf8AreWrittenExactly();
    void invalidNumberPromptsOnceAndTheSaveGoesOn();
    void workingDirectoryIsKeptWhateverTheChooserBrowses_data();
    void workingDirectoryIsKeptWhateverTheChooserBrowses();
    void chooserIsASaveChooserWithTheFourFilters();
    void realSaveDialogReplacesAnExistingFileOnlyAfterAsking_data();
    void realSaveDialogReplacesAnExistingFileOnlyAfterAsking();
};

void TestExport::writesRecordsOldestFirst_data()
{
    QTest::addColumn<Pairs>("oldestFirst");
    QTest::addColumn<int>("layoutButton");
    QTest::addColumn<QByteArray>("expected");

    const Pairs abc{{"a"_ba, "x"_ba}, {"b"_ba, "y"_ba}, {"c"_ba, "z"_ba}};
    const Pairs noNames{{"a"_ba, {}}, {"b"_ba, {}}, {"c"_ba, {}}};
    QTest::newRow("CSV puts every pair on one line, oldest first, with no line end")
        << abc << int(IdCsv) << "a,x,b,y,c,z"_ba;
    QTest::newRow("One Per Line ends every record with a line feed, the last included")
        << abc << int(IdOnePerLine) << "a,x\nb,y\nc,z\n"_ba;
    QTest::newRow("CSV of pairs without usernames gives the passwords separated by single commas")
        << noNames << int(IdCsv) << "a,b,c"_ba;
    QTest::newRow("One Per Line of pairs without usernames gives the passwords alone")
        << noNames << int(IdOnePerLine) << "a\nb\nc\n"_ba;
    QTest::newRow("a single pair in CSV has no comma after it") << Pairs{{"p"_ba, "u"_ba}} << int(IdCsv) << "p,u"_ba;
    QTest::newRow("a single pair One Per Line is one line")
        << Pairs{{"p"_ba, "u"_ba}} << int(IdOnePerLine) << "p,u\n"_ba;
    QTest::newRow("commas, quotes and blanks inside the texts are written unchanged")
        << Pairs{{"a\"b"_ba, "c,d"_ba}, {" e "_ba, "f g"_ba}} << int(IdCsv) << "a\"b,c,d, e ,f g"_ba;
}

void TestExport::writesRecordsOldestFirst()
{
    QFETCH(Pairs, oldestFirst);
    QFETCH(int, layoutButton);
    QFETCH(QByteArray, expected);

    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    for (const CredentialPair& pair : oldestFirst)
        addPair(fixture, QString::fromUtf8(pair.password), QString::fromUtf8(pair.username));
    const Pairs before = rowsOf(window);
    fixture.click(layoutButton);
    fixture.type(IdPassword, u"typed"_s);
    fixture.type(IdUsername, u"name"_s);

    const QString target = fixture.path(u"out.txt"_s);
    fixture.desktop.fileAnswers.push_back(target);
    fixture.click(IdSave);

    QCOMPARE(contentOf(target), expected);
    QVERIFY(fixture.desktop.messages.isEmpty());
    QCOMPARE(rowsOf(window), before);
    QCOMPARE(window.windowTitle(), u"Varnel: "_s + target);
    // The edit fields were walked through every row; the last one written, the top row, stays shown.
    QCOMPARE(fieldText(fixture, IdPassword), QString::fromUtf8(before.first().password));
    QCOMPARE(fieldText(fixture, IdUsername), QString::fromUtf8(before.first().username));
    QCOMPARE(QDir::currentPath(), fixture.dir());
}

void TestExport::emptyListGivesEmptyFileWithoutMessage_data()
{
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<int>("layoutButton");

    QTest::newRow("an empty list in CSV creates a file of 0 bytes") << false << int(IdCsv);
    QTest::newRow("an empty list One Per Line creates a file of 0 bytes") << false << int(IdOnePerLine);
    QTest::newRow("an empty list empties an existing file") << true << int(IdOnePerLine);
}

void TestExport::emptyListGivesEmptyFileWithoutMessage()
{
    QFETCH(bool, fileExists);
    QFETCH(int, layoutButton);

    WindowFixture fixture;
    fixture.open();
    const QString target = fixture.path(u"empty.txt"_s);
    if (fileExists)
        createFile(target, "old,pair\n"_ba);
    // Choosing the layout puts the record back into the edit fields, so the pair is typed after it.
    fixture.click(layoutButton);
    fixture.type(IdPassword, u"shown"_s);
    fixture.type(IdUsername, u"pair"_s);

    fixture.desktop.fileAnswers.push_back(target);
    fixture.click(IdSave);

    QVERIFY(QFileInfo(target).isFile());
    QCOMPARE(contentOf(target), QByteArray());
    QVERIFY(fixture.desktop.messages.isEmpty());
    QCOMPARE(fixture.window().resultList().rowCount(), 0);
    QCOMPARE(fieldText(fixture, IdPassword), u"shown"_s);
    QCOMPARE(fieldText(fixture, IdUsername), u"pair"_s);
}

void TestExport::menuSaveWritesAsTheButtonDoes()
{
    WindowFixture fixture;
    fixture.open();
    addThreePairs(fixture);
    const QString target = fixture.path(u"menu.csv"_s);
    fixture.desktop.fileAnswers.push_back(target);

    fixture.triggerMenu(CmdSave);

    QCOMPARE(contentOf(target), "a,x,b,y,c,z"_ba);
    QVERIFY(fixture.desktop.messages.isEmpty());
}

void TestExport::cancelledChooserWritesNothingAndSaysNothing()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    addThreePairs(fixture);
    const Pairs before = rowsOf(window);
    fixture.type(IdPassword, u"kept"_s);
    fixture.type(IdUsername, u"fields"_s);
    const QStringList filesBefore = entriesOf(fixture.dir());
    Pairs shownWhileChoosing;
    fixture.desktop.whileChoosing = [&](const FileChooserSetup&) {
        shownWhileChoosing = rowsOf(window);
    };
    fixture.desktop.fileAnswers.push_back(std::nullopt);

    fixture.click(IdSave);

    QCOMPARE(fixture.desktop.fileRequests.size(), 1);
    QVERIFY(fixture.desktop.messages.isEmpty());
    QCOMPARE(entriesOf(fixture.dir()), filesBefore);
    QCOMPARE(window.windowTitle(), u"Varnel"_s);
    // The chooser shows the list upside down behind it; afterwards it is back in order.
    QCOMPARE(shownWhileChoosing, Pairs(before.crbegin(), before.crend()));
    QCOMPARE(rowsOf(window), before);
    QCOMPARE(fieldText(fixture, IdPassword), u"kept"_s);
    QCOMPARE(fieldText(fixture, IdUsername), u"fields"_s);
}

void TestExport::unwritableTargetsAreReported_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");

    QTest::newRow("a path below a regular file cannot be created") << u"below file"_s << u"Not a directory"_s;
    QTest::newRow("a path in a folder that does not exist cannot be created")
        << u"missing folder"_s << u"No such file or directory"_s;
    QTest::newRow("a folder is no file to write") << u"folder"_s << u"Is a directory"_s;
    QTest::newRow("a full device takes nothing and stays a device") << u"full device"_s << u"No space left on device"_s;
    QTest::newRow("a named pipe nobody reads is not waited on") << u"pipe"_s << u"No such device or address"_s;
    QTest::newRow("a named pipe another user planted and reads gets nothing")
        << u"planted pipe"_s << u"is a named pipe owned by another user"_s;
}

void TestExport::unwritableTargetsAreReported()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);

    HostileFolder hostile;
    const bool planted = kind == u"planted pipe"_s;
    if (planted && !hostile.unavailable().isEmpty())
        QSKIP(qPrintable(hostile.unavailable()));
    QVERIFY2(!planted || hostile.error().isEmpty(), qPrintable(hostile.error()));
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    addThreePairs(fixture);
    const Pairs before = rowsOf(window);
    fixture.type(IdPassword, u"kept"_s);
    fixture.type(IdUsername, u"fields"_s);

    QString target;
    if (kind == u"below file"_s) {
        createFile(fixture.path(u"plain"_s), "plain\n"_ba);
        target = fixture.path(u"plain/x.txt"_s);
    } else if (kind == u"missing folder"_s) {
        target = fixture.path(u"missing/x.txt"_s);
    } else if (kind == u"folder"_s) {
        QVERIFY(QDir(fixture.dir()).mkdir(u"folder"_s));
        createFile(fixture.path(u"folder/inside.txt"_s), "inside\n"_ba);
        target = fixture.path(u"folder"_s);
    } else if (kind == u"pipe"_s) {
        target = fixture.path(u"pipe"_s);
        QCOMPARE(::mkfifo(nativePath(target).constData(), 0600), 0);
    } else if (planted) {
        target = hostile.path(u"planted/pipe.csv"_s);
    } else {
        target = u"/dev/full"_s;
        if (!S_ISCHR(statusOf(target).st_mode))
            QSKIP("This system has no /dev/full");
    }
    const QStringList filesBefore = entriesOf(fixture.dir());
    fixture.desktop.fileAnswers.push_back(target);
    FileDescriptor reader;
    if (planted) {
        reader.reset(::open(nativePath(target).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        QVERIFY(reader);
    }

    fixture.click(IdSave);

    QCOMPARE(fixture.desktop.oneMessageMismatch(u"Error Writing File"_s, u"Save to File"_s, {target, reason}),
             QString());
    QCOMPARE(window.windowTitle(), u"Varnel: "_s + target);
    QCOMPARE(rowsOf(window), before);
    QCOMPARE(entriesOf(fixture.dir()), filesBefore);
    if (kind == u"below file"_s)
        QCOMPARE(contentOf(fixture.path(u"plain"_s)), "plain\n"_ba);
    if (kind == u"folder"_s)
        QCOMPARE(entriesOf(target), QStringList{u"inside.txt"_s});
    if (kind == u"pipe"_s || planted)
        QVERIFY(S_ISFIFO(statusOf(target).st_mode));
    if (planted) {
        char received[64] = {};
        const ssize_t got = ::read(reader.get(), received, sizeof received);
        QCOMPARE(QByteArray(received, int(std::max<ssize_t>(got, 0))), QByteArray());
    }
    if (kind == u"full device"_s)
        QVERIFY(S_ISCHR(statusOf(target).st_mode));
    else
        QCOMPARE(fieldText(fixture, IdPassword), u"kept"_s);
}

void TestExport::readOnlyFileIsReportedAndKept()
{
    if (runningAsRoot())
        QSKIP("Root writes read-only files anyway; the failures above cover what fails for root too");
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    addThreePairs(fixture);
    const QString target = fixture.path(u"readonly.txt"_s);
    createFile(target, "old\n"_ba, 0444);
    fixture.desktop.fileAnswers.push_back(target);

    fixture.click(IdSave);

    QCOMPARE(fixture.desktop.oneMessageMismatch(u"Error Writing File"_s, u"Save to File"_s, {u"Permission denied"_s}),
             QString());
    QCOMPARE(window.windowTitle(), u"Varnel: "_s + target);
    QCOMPARE(contentOf(target), "old\n"_ba);
    QCOMPARE(permissionsOf(target), mode_t(0444));
}

void TestExport::writeFailureKeepsTheExistingFile()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    for (int i = 0; i < 20; ++i)
        addPair(fixture, u"password%1"_s.arg(i), u"user%1"_s.arg(i));
    const Pairs before = rowsOf(window);
    const QString target = fixture.path(u"existing.txt"_s);
    const QByteArray old = "the earlier export\n"_ba;
    createFile(target, old);
    const QStringList filesBefore = entriesOf(fixture.dir());
    fixture.desktop.fileAnswers.push_back(target);

    {
        const FileSizeLimit fullAfterSomeBytes(64);
        fixture.click(IdSave);
    }

    QCOMPARE(
        fixture.desktop.oneMessageMismatch(u"Error Writing File"_s, u"Save to File"_s, {target, u"File too large"_s}),
        QString());
    QCOMPARE(contentOf(target), old);
    QCOMPARE(entriesOf(fixture.dir()), filesBefore);
    QCOMPARE(rowsOf(window), before);
}

void TestExport::newFileIsForItsOwnerOnly_data()
{
    QTest::addColumn<int>("umaskValue");

    QTest::newRow("a new file is private under the usual umask") << 022;
    QTest::newRow("a new file is private even when the umask allows everything") << 0;
}

void TestExport::newFileIsForItsOwnerOnly()
{
    QFETCH(int, umaskValue);

    WindowFixture fixture;
    fixture.open();
    addThreePairs(fixture);
    const QString target = fixture.path(u"new.txt"_s);
    fixture.desktop.fileAnswers.push_back(target);

    const mode_t previous = ::umask(static_cast<mode_t>(umaskValue));
    fixture.click(IdSave);
    ::umask(previous);

    QCOMPARE(contentOf(target), "a,x,b,y,c,z"_ba);
    QCOMPARE(permissionsOf(target), mode_t(0600));
}

void TestExport::replacedFileKeepsItsPermissions_data()
{
    QTest::addColumn<int>("mode");

    QTest::newRow("a replaced private file stays private") << 0600;
    QTest::newRow("a replaced file readable by its group is no longer") << 0640;
    QTest::newRow("a replaced file readable by all becomes private") << 0644;
}

void TestExport::replacedFileKeepsItsPermissions()
{
    QFETCH(int, mode);

    WindowFixture fixture;
    fixture.open();
    addThreePairs(fixture);
    const QString target = fixture.path(u"existing.txt"_s);
    createFile(target, "a much longer earlier content that must not survive in part\n"_ba, static_cast<mode_t>(mode));
    const QStringList filesBefore = entriesOf(fixture.dir());
    fixture.desktop.fileAnswers.push_back(target);

    fixture.click(IdSave);

    QVERIFY(fixture.desktop.messages.isEmpty());
    QCOMPARE(contentOf(target), "a,x,b,y,c,z"_ba);
    QCOMPARE(permissionsOf(target), static_cast<mode_t>(mode & 0700));
    QCOMPARE(entriesOf(fixture.dir()), filesBefore);
}

void TestExport::symbolicLinkLeadsToTheFileWrittenAndStays()
{
    WindowFixture fixture;
    fixture.open();
    addThreePairs(fixture);
    QVERIFY(QDir(fixture.dir()).mkdir(u"real"_s));
    const QString real = fixture.path(u"real/passwords.txt"_s);
    createFile(real, "earlier\n"_ba, 0640);
    const QString link = fixture.path(u"link.txt"_s);
    QVERIFY(QFile::link(real, link));
    fixture.desktop.fileAnswers.push_back(link);

    fixture.click(IdSave);

    QVERIFY(fixture.desktop.messages.isEmpty());
    QCOMPARE(QFileInfo(link).symLinkTarget(), real);
    QCOMPARE(contentOf(real), "a,x,b,y,c,z"_ba);
    QCOMPARE(permissionsOf(real), mode_t(0600));
    QCOMPARE(entriesOf(fixture.path(u"real"_s)), QStringList{u"passwords.txt"_s});
}

void TestExport::bytesThatAreNotUtf8AreWrittenExactly()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    // Such bytes reach the list only from a username file.
    const QByteArray names = "caf\xe9\n\xff\xfe\x00z\nok\n"_ba;
    createFile(fixture.path(u"names.txt"_s), names);
    fixture.click(IdLoadUsernames);
    fixture.desktop.fileAnswers.push_back(fixture.path(u"names.txt"_s));
    fixture.click(IdGenerate);
    QCOMPARE(window.resultList().rowCount(), 3);

    fixture.click(IdOnePerLine);
    const QString target = fixture.path(u"out.txt"_s);
    fixture.desktop.fileAnswers.push_back(target);
    fixture.click(IdSave);

    QVERIFY(fixture.desktop.messages.isEmpty());
    QByteArray expected;
    const Pairs rows = rowsOf(window);
    for (auto row = rows.crbegin(); row != rows.crend(); ++row)
        expected += row->password + ',' + row->username + '\n';
    QCOMPARE(contentOf(target), expected);
    QVERIFY(expected.contains("caf\xe9\n"_ba));
    QVERIFY(expected.contains("\xff\xfe\x00z\n"_ba));
}

void TestExport::invalidNumberPromptsOnceAndTheSaveGoesOn()
{
    WindowFixture fixture;
    fixture.open();
    addThreePairs(fixture);
    fixture.type(IdPairCount, QString());
    const QString target = fixture.path(u"out.txt"_s);
    fixture.desktop.fileAnswers.push_back(target);

    fixture.click(IdSave);

    QCOMPARE(fixture.desktop.oneMessageMismatch({}, {}, {u"Number to Generate:"_s}), QString());
    QCOMPARE(fixture.desktop.fileRequests.size(), 1);
    QCOMPARE(contentOf(target), "a,x,b,y,c,z"_ba);
}

void TestExport::workingDirectoryIsKeptWhateverTheChooserBrowses_data()
{
    QTest::addColumn<bool>("confirmed");

    QTest::newRow("after a confirmed chooser the working directory is the one from before") << true;
    QTest::newRow("after a cancelled chooser the working directory is the one from before") << false;
}

void TestExport::workingDirectoryIsKeptWhateverTheChooserBrowses()
{
    QFETCH(bool, confirmed);

    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    addThreePairs(fixture);
    QTemporaryDir elsewhere;
    QVERIFY(elsewhere.isValid());
    QString browsedTo;
    fixture.desktop.whileChoosing = [&](const FileChooserSetup&) {
        QVERIFY(QDir::setCurrent(elsewhere.path()));
        browsedTo = QDir::currentPath();
    };
    const QString target = QDir(elsewhere.path()).filePath(u"out.txt"_s);
    if (confirmed)
        fixture.desktop.fileAnswers.push_back(target);
    else
        fixture.desktop.fileAnswers.push_back(std::nullopt);

    fixture.click(IdSave);

    QCOMPARE(browsedTo, QDir(elsewhere.path()).canonicalPath());
    QCOMPARE(QDir::currentPath(), fixture.dir());
    QCOMPARE(QFileInfo::exists(target), confirmed);
    // The preferences file is still written where the program started.
    window.done(QDialog::Accepted);
    QVERIFY(QFileInfo::exists(fixture.path(u"vrn.ini"_s)));
    QVERIFY(!QFileInfo::exists(QDir(elsewhere.path()).filePath(u"vrn.ini"_s)));
}

void TestExport::chooserIsASaveChooserWithTheFourFilters()
{
    WindowFixture fixture;
    fixture.open();
    fixture.click(IdSave);

    QCOMPARE(fixture.desktop.fileRequests.size(), 1);
    const FileChooserSetup& setup = fixture.desktop.fileRequests.constFirst();
    QCOMPARE(setup.mode, FileChooserSetup::Mode::Save);
    QCOMPARE(setup.filters,
             (QStringList{u"TXT Files (*.txt)"_s, u"DAT Files (*.dat)"_s, u"CSV Files (*.csv)"_s, u"All Files (*)"_s}));
    QCOMPARE(setup.defaultSuffix, u"txt"_s);
}

void TestExport::realSaveDialogReplacesAnExistingFileOnlyAfterAsking_data()
{
    QTest::addColumn<bool>("replace");

    QTest::newRow("answering Yes to the question replaces the existing file") << true;
    QTest::newRow("answering No and then cancelling the chooser keeps the existing file") << false;
}

void TestExport::realSaveDialogReplacesAnExistingFileOnlyAfterAsking()
{
    QFETCH(bool, replace);

    WindowFixture fixture;
    QtDesktop desktop;
    CVarnelDlg& window = fixture.openWith(desktop);
    addThreePairs(fixture);
    const QString target = fixture.path(u"existing.txt"_s);
    createFile(target, "earlier\n"_ba);

    ModalAnswerer answerer;
    answerer.onFileDialog = [](QFileDialog& chooser) {
        ModalAnswerer::acceptFileName(chooser, u"existing"_s);
    };
    answerer.onMessageBox = [replace](QMessageBox& box) {
        QAbstractButton* answer = box.button(replace ? QMessageBox::Yes : QMessageBox::No);
        if (!answer) {
            box.reject();
            return;
        }
        // After No the chooser stays open for another name; the user then cancels it.
        if (auto* chooser = qobject_cast<QFileDialog*>(box.parentWidget()); chooser && !replace)
            QTimer::singleShot(0, chooser, &QFileDialog::reject);
        QTest::mouseClick(answer, Qt::LeftButton);
    };

    fixture.click(IdSave);

    QVERIFY2(!answerer.timedOut, qPrintable(answerer.seen.join(u" / "_s)));
    QCOMPARE(answerer.seen.size(), 2);
    QCOMPARE(answerer.seen.at(0), u"QFileDialog"_s);
    // The name was typed without its extension; the chooser adds it and asks before replacing.
    QVERIFY2(answerer.seen.at(1).contains(u"existing.txt"_s), qPrintable(answerer.seen.at(1)));
    QCOMPARE(contentOf(target), replace ? "a,x,b,y,c,z"_ba : "earlier\n"_ba);
    QCOMPARE(window.windowTitle(), replace ? u"Varnel: "_s + target : u"Varnel"_s);
    QCOMPARE(QDir::currentPath(), fixture.dir());
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
