#include "FileSizeLimit.h"
#include "HostileFolder.h"
#include "TestFiles.h"
#include "WindowFixture.h"
#include "resources/Layouts.h"
#include "resources/Menu.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QToolTip>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray writtenWith(const QByteArray& value)
{
    return "CREATOR=Varnel 1.0\nTOOLTIPS="_ba + value + "\n\n"_ba;
}

// Whether hovering over a control brings up its tip, asked the way the desktop asks.
bool tipShownOver(QWidget* control)
{
    QToolTip::hideText();
    const QPoint pos = control->rect().center();
    QHelpEvent event(QEvent::ToolTip, pos, control->mapToGlobal(pos));
    QApplication::sendEvent(control, &event);
    const bool shown = QToolTip::isVisible() && !QToolTip::text().isEmpty();
    QToolTip::hideText();
    return shown;
}

} // namespace

class TestPreferences : public QObject
{
    Q_OBJECT

private slots:
    void fileDecidesTooltipsAndIsWrittenBack_data();
    void fileDecidesTooltipsAndIsWrittenBack();
    void clickingTheBoxDecidesWhatIsWritten_data();
    void clickingTheBoxDecidesWhatIsWritten();
    void everyWayOfEndingTheWindowWritesTheFile_data();
    void everyWayOfEndingTheWindowWritesTheFile();
    void quitWritesNothing_data();
    void quitWritesNothing();
    void clickWhileANumberIsInvalidKeepsTheEarlierState_data();
    void clickWhileANumberIsInvalidKeepsTheEarlierState();
    void unwritableFileIsReportedAndTheWindowStillEnds_data();
    void unwritableFileIsReportedAndTheWindowStillEnds();
    void failedWriteKeepsTheEarlierFileWhole();
    void unreadableFileIsSilentAtStart();
    void symbolicLinkIsReadAndWrittenThrough();
    void filesAnotherUserPlantedAreNotTurnedAgainstTheUser_data();
    void filesAnotherUserPlantedAreNotTurnedAgainstTheUser();
    void pipeOrEndlessDeviceInPlaceOfTheFileDoesNotStopTheStart_data();
    void pipeOrEndlessDeviceInPlaceOfTheFileDoesNotStopTheStart();
};

void TestPreferences::fileDecidesTooltipsAndIsWrittenBack_data()
{
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QByteArray>("writtenValue");

    QTest::newRow("no file: tooltips on, and OK creates the file with an empty value")
        << false << QByteArray() << true << QByteArray();
    QTest::newRow("an empty file: tooltips on") << true << QByteArray() << true << QByteArray();
    QTest::newRow("the file as written with yes: tooltips on") << true << writtenWith("yes") << true << "yes"_ba;
    QTest::newRow("an empty value: tooltips on, written back empty")
        << true << "TOOLTIPS=\n"_ba << true << QByteArray();
    QTest::newRow("no: tooltips off, written back as no") << true << "TOOLTIPS=no\n"_ba << false << "no"_ba;
    QTest::newRow("Yes differs in case from yes: off, written back unchanged")
        << true << "TOOLTIPS=Yes\n"_ba << false << "Yes"_ba;
    QTest::newRow("YES differs in case from yes: off, written back unchanged")
        << true << "TOOLTIPS=YES\n"_ba << false << "YES"_ba;
    QTest::newRow("yes on a last line without line feed is read like the others")
        << true << "CREATOR=Varnel 1.0\nTOOLTIPS=yes"_ba << true << "yes"_ba;
    QTest::newRow("no on a last line without line feed is read like the others")
        << true << "CREATOR=Varnel 1.0\nTOOLTIPS=no"_ba << false << "no"_ba;
    QTest::newRow("the key alone without = makes the value empty: tooltips on")
        << true << "TOOLTIPS=no\nTOOLTIPS\n"_ba << true << QByteArray();
    QTest::newRow("every = is dropped, so =y=es after the key reads yes")
        << true << "TOOLTIPS=y=es\n"_ba << true << "yes"_ba;
    QTest::newRow("every = is dropped, so ==no after the key reads no")
        << true << "TOOLTIPS==no\n"_ba << false << "no"_ba;
    QTest::newRow("carriage return line feed ends read the same as line feeds")
        << true << "CREATOR=Varnel 1.0\r\nTOOLTIPS=no\r\n\r\n"_ba << false << "no"_ba;
    QTest::newRow("blanks and tabs after the value are removed") << true << "TOOLTIPS=no \t \n"_ba << false << "no"_ba;
    QTest::newRow("a blank before the key makes another key, which is ignored")
        << true << " TOOLTIPS=no\n"_ba << true << QByteArray();
    QTest::newRow("a blank between the key and = makes another key, which is ignored")
        << true << "TOOLTIPS =no\n"_ba << true << QByteArray();
    QTest::newRow("a blank after = stays in the value: off, and written back with the blank")
        << true << "TOOLTIPS= yes\n"_ba << false << " yes"_ba;
    QTest::newRow("of two TOOLTIPS lines the later counts, no after yes")
        << true << "TOOLTIPS=yes\nTOOLTIPS=no\n"_ba << false << "no"_ba;
    QTest::newRow("of two TOOLTIPS lines the later counts, yes after no")
        << true << "TOOLTIPS=no\nTOOLTIPS=yes\n"_ba << true << "yes"_ba;
    QTest::newRow("the key is case-sensitive") << true << "tooltips=no\n"_ba << true << QByteArray();
    QTest::newRow("other lines are ignored and gone after the write")
        << true << "[Varnel]\nCREATOR=Someone else\n# TOOLTIPS=yes\nTOOLTIPS=no\nCOLOUR=blue\n"_ba << false << "no"_ba;
    QTest::newRow("any other value is kept verbatim: off") << true << "TOOLTIPS=maybe\n"_ba << false << "maybe"_ba;
    QTest::newRow("bytes that are not UTF-8 in the value are kept verbatim")
        << true << "TOOLTIPS=\xff\xfe\n"_ba << false << "\xff\xfe"_ba;
}

void TestPreferences::fileDecidesTooltipsAndIsWrittenBack()
{
    QFETCH(bool, fileExists);
    QFETCH(QByteArray, content);
    QFETCH(bool, ticked);
    QFETCH(QByteArray, writtenValue);

    WindowFixture fixture;
    const QString ini = fixture.path(u"vrn.ini"_s);
    if (fileExists)
        createFile(ini, content);
    CVarnelDlg& window = fixture.open();

    QCOMPARE(fixture.button(IdToolTips)->isChecked(), ticked);
    QCOMPARE(tipShownOver(fixture.button(IdGenerate)), ticked);
    QCOMPARE(tipShownOver(fixture.edit(IdPairCount)), ticked);

    fixture.click(IdOk);

    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Accepted));
    QVERIFY(fixture.desktop.messages.isEmpty());
    QCOMPARE(contentOf(ini), writtenWith(writtenValue));
}

void TestPreferences::clickingTheBoxDecidesWhatIsWritten_data()
{
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QByteArray>("writtenValue");

    QTest::newRow("ticking the box over a file that said no writes yes")
        << true << "TOOLTIPS=no\n"_ba << 1 << true << "yes"_ba;
    QTest::newRow("unticking the box without a file writes no") << false << QByteArray() << 1 << false << "no"_ba;
    QTest::newRow("ticking the box left unticked by Yes writes yes")
        << true << "TOOLTIPS=Yes\n"_ba << 1 << true << "yes"_ba;
    QTest::newRow("unticking and ticking again writes yes, not the empty value read")
        << true << "TOOLTIPS=\n"_ba << 2 << true << "yes"_ba;
    QTest::newRow("ticking and unticking again writes no, not the value read")
        << true << "TOOLTIPS=maybe\n"_ba << 2 << false << "no"_ba;
}

void TestPreferences::clickingTheBoxDecidesWhatIsWritten()
{
    QFETCH(bool, fileExists);
    QFETCH(QByteArray, content);
    QFETCH(int, clicks);
    QFETCH(bool, ticked);
    QFETCH(QByteArray, writtenValue);

    WindowFixture fixture;
    const QString ini = fixture.path(u"vrn.ini"_s);
    if (fileExists)
        createFile(ini, content);
    fixture.open();

    for (int i = 0; i < clicks; ++i)
        fixture.click(IdToolTips);

    QCOMPARE(fixture.button(IdToolTips)->isChecked(), ticked);
    QCOMPARE(tipShownOver(fixture.button(IdSave)), ticked);
    // The click alone writes nothing; the file changes when the window ends.
    if (fileExists)
        QCOMPARE(contentOf(ini), content);
    else
        QVERIFY(!QFileInfo::exists(ini));
    fixture.click(IdOk);
    QCOMPARE(contentOf(ini), writtenWith(writtenValue));
}

void TestPreferences::everyWayOfEndingTheWindowWritesTheFile_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("result");

    QTest::newRow("the OK button writes the file") << u"OK button"_s << int(QDialog::Accepted);
    QTest::newRow("Enter, which presses OK, writes the file") << u"Enter"_s << int(QDialog::Accepted);
    QTest::newRow("Escape writes the file") << u"Escape"_s << int(QDialog::Rejected);
    QTest::newRow("the close box writes the file") << u"close box"_s << int(QDialog::Rejected);
    QTest::newRow("Close on the window menu writes the file") << u"window menu"_s << int(QDialog::Rejected);
}

void TestPreferences::everyWayOfEndingTheWindowWritesTheFile()
{
    QFETCH(QString, how);
    QFETCH(int, result);

    WindowFixture fixture;
    const QString ini = fixture.path(u"vrn.ini"_s);
    createFile(ini, "TOOLTIPS=no\nOTHER=line\n"_ba);
    CVarnelDlg& window = fixture.open();

    if (how == u"OK button"_s) {
        fixture.click(IdOk);
    } else if (how == u"Enter"_s) {
        window.control(IdOk)->setFocus();
        QTest::keyClick(window.control(IdOk), Qt::Key_Return);
    } else if (how == u"Escape"_s) {
        QTest::keyClick(&window, Qt::Key_Escape);
    } else if (how == u"close box"_s) {
        window.close();
    } else {
        QAction* close = nullptr;
        for (QAction* action : window.windowMenu()->actions()) {
            if (action->data().toUInt() == WindowMenuCloseId)
                close = action;
        }
        QVERIFY(close);
        close->trigger();
    }

    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), result);
    QCOMPARE(contentOf(ini), writtenWith("no"));
}

void TestPreferences::quitWritesNothing_data()
{
    QTest::addColumn<bool>("fileExists");

    QTest::newRow("Quit after unticking the box leaves the file as it was") << true;
    QTest::newRow("Quit without a file creates none") << false;
}

void TestPreferences::quitWritesNothing()
{
    QFETCH(bool, fileExists);

    WindowFixture fixture;
    const QString ini = fixture.path(u"vrn.ini"_s);
    const QByteArray content = "TOOLTIPS=yes\nOTHER=line\n"_ba;
    if (fileExists)
        createFile(ini, content);
    fixture.open();
    QVERIFY(fixture.button(IdToolTips)->isChecked());
    fixture.click(IdToolTips);
    QVERIFY(!fixture.button(IdToolTips)->isChecked());

    fixture.triggerMenu(CmdQuit);

    QCOMPARE(fixture.desktop.exits, QList<int>{0});
    QCOMPARE(QFileInfo::exists(ini), fileExists);
    if (fileExists)
        QCOMPARE(contentOf(ini), content);
    // The next start shows tooltips as before the run that was quit.
    CVarnelDlg next(fixture.desktop, fixture.scripted);
    next.OnInitWindow();
    QVERIFY(qobject_cast<QAbstractButton*>(next.control(IdToolTips))->isChecked());
}

void TestPreferences::clickWhileANumberIsInvalidKeepsTheEarlierState_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QByteArray>("writtenValue");

    QTest::newRow("an empty character count keeps the ticked box ticked, and the state re-applied is written as yes")
        << "TOOLTIPS=\n"_ba << QString() << true << "yes"_ba;
    QTest::newRow("an out-of-range character count keeps the unticked box unticked and the value no")
        << "TOOLTIPS=no\n"_ba << u"60"_s << false << "no"_ba;
}

void TestPreferences::clickWhileANumberIsInvalidKeepsTheEarlierState()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, typed);
    QFETCH(bool, ticked);
    QFETCH(QByteArray, writtenValue);

    WindowFixture fixture;
    const QString ini = fixture.path(u"vrn.ini"_s);
    createFile(ini, content);
    fixture.open();
    fixture.type(IdCharacterCount, typed);

    fixture.click(IdToolTips);

    QCOMPARE(fixture.desktop.oneMessageMismatch({}, {}, {u"Number of Characters:"_s}), QString());
    QCOMPARE(fixture.button(IdToolTips)->isChecked(), ticked);
    QCOMPARE(tipShownOver(fixture.button(IdGenerate)), ticked);
    fixture.type(IdCharacterCount, u"8"_s);
    fixture.click(IdOk);
    QCOMPARE(contentOf(ini), writtenWith(writtenValue));
}

void TestPreferences::unwritableFileIsReportedAndTheWindowStillEnds_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");

    QTest::newRow("a folder named vrn.ini reads as no file and cannot be written")
        << u"folder"_s << u"Is a directory"_s;
    QTest::newRow("a vrn.ini that leads to a full device cannot be written")
        << u"full device"_s << u"No space left on device"_s;
    QTest::newRow("a read-only vrn.ini is read, then reported and kept at the end")
        << u"read-only"_s << u"Permission denied"_s;
}

void TestPreferences::unwritableFileIsReportedAndTheWindowStillEnds()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);

    WindowFixture fixture;
    const QString ini = fixture.path(u"vrn.ini"_s);
    const QByteArray readOnlyContent = "TOOLTIPS=no\nOTHER=line\n"_ba;
    if (kind == u"folder"_s) {
        QVERIFY(QDir(fixture.dir()).mkdir(u"vrn.ini"_s));
    } else if (kind == u"full device"_s) {
        if (!QFileInfo(u"/dev/full"_s).exists())
            QSKIP("This system has no /dev/full");
        QVERIFY(QFile::link(u"/dev/full"_s, ini));
    } else {
        if (runningAsRoot())
            QSKIP("Root writes read-only files anyway; the other rows fail for root too");
        createFile(ini, readOnlyContent);
        QVERIFY(QFile::setPermissions(ini, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    }
    CVarnelDlg& window = fixture.open();
    QVERIFY(fixture.desktop.messages.isEmpty());
    QCOMPARE(fixture.button(IdToolTips)->isChecked(), kind != u"read-only"_s);

    fixture.click(IdOk);

    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Accepted));
    QCOMPARE(fixture.desktop.oneMessageMismatch(u"Error Writing File"_s, u"Save to File"_s, {ini, reason}), QString());
    if (kind == u"folder"_s)
        QVERIFY(QFileInfo(ini).isDir());
    else if (kind == u"full device"_s)
        QCOMPARE(QFileInfo(ini).symLinkTarget(), u"/dev/full"_s);
    else
        QCOMPARE(contentOf(ini), readOnlyContent);
    QCOMPARE(entriesOf(fixture.dir()), QStringList{u"vrn.ini"_s});
}

void TestPreferences::failedWriteKeepsTheEarlierFileWhole()
{
    WindowFixture fixture;
    const QString ini = fixture.path(u"vrn.ini"_s);
    const QByteArray content = "CREATOR=Varnel 1.0\nTOOLTIPS=no\nOTHER=line\n"_ba;
    createFile(ini, content);
    CVarnelDlg& window = fixture.open();
    fixture.click(IdToolTips);

    {
        const FileSizeLimit fullAfterSomeBytes(16);
        fixture.click(IdOk);
    }

    QVERIFY(!window.isVisible());
    QCOMPARE(fixture.desktop.oneMessageMismatch(u"Error Writing File"_s, u"Save to File"_s, {u"File too large"_s}),
             QString());
    QCOMPARE(contentOf(ini), content);
    QCOMPARE(entriesOf(fixture.dir()), QStringList{u"vrn.ini"_s});
}

void TestPreferences::unreadableFileIsSilentAtStart()
{
    if (runningAsRoot())
        QSKIP("Root reads files without read permission anyway");
    WindowFixture fixture;
    const QString ini = fixture.path(u"vrn.ini"_s);
    createFile(ini, "TOOLTIPS=no\n"_ba);
    QVERIFY(QFile::setPermissions(ini, QFileDevice::WriteOwner));

    fixture.open();

    QVERIFY(fixture.desktop.messages.isEmpty());
    QVERIFY(fixture.button(IdToolTips)->isChecked());
    QVERIFY(tipShownOver(fixture.button(IdGenerate)));
}

// Settings files are often links into a folder kept elsewhere; the link must survive the write.
void TestPreferences::symbolicLinkIsReadAndWrittenThrough()
{
    WindowFixture fixture;
    QVERIFY(QDir(fixture.dir()).mkdir(u"kept"_s));
    const QString real = fixture.path(u"kept/vrn.ini"_s);
    createFile(real, "TOOLTIPS=no\n"_ba);
    const QString ini = fixture.path(u"vrn.ini"_s);
    QVERIFY(QFile::link(real, ini));
    fixture.open();
    QVERIFY(!fixture.button(IdToolTips)->isChecked());

    fixture.click(IdToolTips);
    fixture.click(IdOk);

    QVERIFY(fixture.desktop.messages.isEmpty());
    QCOMPARE(QFileInfo(ini).symLinkTarget(), real);
    QCOMPARE(contentOf(real), writtenWith("yes"));
}

void TestPreferences::filesAnotherUserPlantedAreNotTurnedAgainstTheUser_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("watched");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("mode");

    QTest::newRow("a vrn.ini link another user planted is neither read nor written through")
        << QString() << u"victim"_s << "TOOLTIPS=no\n"_ba << 0600;
    QTest::newRow("a vrn.ini another user planted is not read and is replaced by a private one")
        << u"planted"_s << u"vrn.ini"_s << writtenWith("") << 0600;
}

void TestPreferences::filesAnotherUserPlantedAreNotTurnedAgainstTheUser()
{
    QFETCH(QString, folder);
    QFETCH(QString, watched);
    QFETCH(QByteArray, bytes);
    QFETCH(int, mode);

    HostileFolder hostile;
    if (!hostile.unavailable().isEmpty())
        QSKIP(qPrintable(hostile.unavailable()));
    QVERIFY2(hostile.error().isEmpty(), qPrintable(hostile.error()));
    WindowFixture fixture;
    QVERIFY(QDir::setCurrent(hostile.path(folder)));
    const QStringList before = entriesOf(hostile.path(folder));
    fixture.open();
    QVERIFY(fixture.button(IdToolTips)->isChecked());

    fixture.click(IdOk);

    const QString path = QDir(hostile.path(folder)).filePath(watched);
    if (watched == u"victim"_s) {
        QCOMPARE(fixture.desktop.oneMessageMismatch(u"Error Writing File"_s, {},
                                                    {u"is a symbolic link owned by another user"_s}),
                 QString());
    } else {
        QVERIFY(fixture.desktop.messages.isEmpty());
        QCOMPARE(QFileInfo(path).ownerId(), ::geteuid());
    }
    QCOMPARE(contentOf(path), bytes);
    QCOMPARE(int(permissionsOf(path)), mode);
    QCOMPARE(entriesOf(hostile.path(folder)), before);
}

void TestPreferences::pipeOrEndlessDeviceInPlaceOfTheFileDoesNotStopTheStart_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reasonAtEnd");

    QTest::newRow("a named pipe nobody writes to is not waited on, and cannot be written at the end")
        << u"pipe"_s << u"No such device or address"_s;
    QTest::newRow("a vrn.ini that leads to /dev/zero is not read without end") << u"/dev/zero"_s << QString();
}

void TestPreferences::pipeOrEndlessDeviceInPlaceOfTheFileDoesNotStopTheStart()
{
    QFETCH(QString, kind);
    QFETCH(QString, reasonAtEnd);

    WindowFixture fixture;
    const QString ini = fixture.path(u"vrn.ini"_s);
    if (kind == u"pipe"_s) {
        QCOMPARE(::mkfifo(nativePath(ini).constData(), 0600), 0);
    } else {
        if (!QFileInfo::exists(kind))
            QSKIP("This system lacks the device");
        QVERIFY(QFile::link(kind, ini));
    }

    CVarnelDlg& window = fixture.open();

    QVERIFY(fixture.desktop.messages.isEmpty());
    QVERIFY(fixture.button(IdToolTips)->isChecked());
    fixture.click(IdOk);
    QVERIFY(!window.isVisible());
    if (reasonAtEnd.isEmpty()) {
        QVERIFY(fixture.desktop.messages.isEmpty());
    } else {
        QCOMPARE(fixture.desktop.oneMessageMismatch(u"Error Writing File"_s, {}, {reasonAtEnd}), QString());
    }
    QCOMPARE(entriesOf(fixture.dir()), QStringList{u"vrn.ini"_s});
}

QTEST_MAIN(TestPreferences)
#include "tst_preferences.moc"
