#include "HostileFolder.h"
#include "ModalAnswerer.h"
#include "TestFiles.h"
#include "WindowFixture.h"
#include "app/Desktop.h"
#include "list/ResultList.h"
#include "os/WorkingDirectoryGuard.h"
#include "prefs/HelpCommandTable.h"
#include "resources/Layouts.h"
#include "resources/Menu.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {
// A read-me in the window's working directory, which the Readme item opens by its relative name.
void putReadme(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}
} // namespace

class TestHelpCommands : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { setInstalledReadme(QString()); }
    void eachItemOpensItsTarget_data();
    void eachItemOpensItsTarget();
    void choosingAnItemAgainOpensItAgain_data();
    void choosingAnItemAgainOpensItAgain();
    void itemsWorkWhileANumberIsInvalid_data();
    void itemsWorkWhileANumberIsInvalid();
    void theReadmeIsOpenedFromTheWorkingDirectory();
    void theReadmeIsLookedForInTurn_data();
    void theReadmeIsLookedForInTurn();
    void onlyTheUsersOwnReadmeInTheWorkingDirectoryIsOpened_data();
    void onlyTheUsersOwnReadmeInTheWorkingDirectoryIsOpened();
    void uninstallShowsTheNoticeAndTheProgramGoesOn();
    void uninstallNoticeRunsAsARealMessageBox();
    void targetUrlResolvesRelativeNamesAgainstTheWorkingDirectory();
    void targetUrlKeepsWebAndMailAddresses_data();
    void targetUrlKeepsWebAndMailAddresses();
};

void TestHelpCommands::eachItemOpensItsTarget_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("verb");
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("showMode");

    const MakerContacts& maker = makerContacts();
    const QString open = QStringLiteral("open");
    QTest::newRow("Manual opens the help page hidden")
        << int(CmdManual) << open << maker.webSite + QStringLiteral("/varnel/help.htm") << 0;
    QTest::newRow("Tutorials opens the tutorials page hidden")
        << int(CmdTutorials) << open << maker.webSite + QStringLiteral("/varnel/tut.htm") << 0;
    QTest::newRow("Readme opens the relative readme.txt shown")
        << int(CmdReadme) << open << QStringLiteral("readme.txt") << 5;
    QTest::newRow("Support Options opens the support page at the site's root")
        << int(CmdSupportOptions) << open << maker.webSite + QStringLiteral("/support.htm") << 0;
    QTest::newRow("Email Support writes to support with the default verb")
        << int(CmdEmailSupport) << QString()
        << QStringLiteral("mailto:") + maker.supportAddress + QStringLiteral("?subject=VarnelSupport") << 1;
    QTest::newRow("Bug Report writes to the bug address about a bug report")
        << int(CmdBugReport) << QString()
        << QStringLiteral("mailto:") + maker.bugReportAddress + QStringLiteral("?subject=BugReport") << 1;
    QTest::newRow("Sales Support writes to sales with the support subject")
        << int(CmdSalesSupport) << QString()
        << QStringLiteral("mailto:") + maker.salesAddress + QStringLiteral("?subject=VarnelSupport") << 1;
    QTest::newRow("More Info opens the product page hidden")
        << int(CmdMoreInfo) << open << maker.webSite + QStringLiteral("/varnel/") << 0;
}

void TestHelpCommands::eachItemOpensItsTarget()
{
    QFETCH(int, command);
    QFETCH(QString, verb);
    QFETCH(QString, target);
    QFETCH(int, showMode);
    WindowFixture fixture;
    putReadme(fixture.path(QStringLiteral("readme.txt")));
    CVarnelDlg& window = fixture.open();
    const int rowsBefore = window.resultList().rowCount();

    fixture.triggerMenu(command);

    QCOMPARE(fixture.desktop.shellCalls.size(), 1);
    const FakeDesktop::ShellCall& call = fixture.desktop.shellCalls.constFirst();
    QCOMPARE(call.verb, verb);
    QCOMPARE(call.target, target);
    QCOMPARE(call.showMode, showMode);
    QVERIFY(fixture.desktop.messages.isEmpty());
    QVERIFY(fixture.desktop.modalDialogs.isEmpty());
    QCOMPARE(window.resultList().rowCount(), rowsBefore);
    QVERIFY(window.isVisible());
}

void TestHelpCommands::choosingAnItemAgainOpensItAgain_data()
{
    eachItemOpensItsTarget_data();
}

void TestHelpCommands::choosingAnItemAgainOpensItAgain()
{
    QFETCH(int, command);
    QFETCH(QString, target);
    WindowFixture fixture;
    putReadme(fixture.path(QStringLiteral("readme.txt")));
    fixture.open();

    fixture.triggerMenu(command);
    fixture.triggerMenu(command);
    fixture.triggerMenu(command);

    QCOMPARE(fixture.desktop.shellCalls.size(), 3);
    for (const FakeDesktop::ShellCall& call : std::as_const(fixture.desktop.shellCalls))
        QCOMPARE(call.target, target);
}

void TestHelpCommands::itemsWorkWhileANumberIsInvalid_data()
{
    eachItemOpensItsTarget_data();
}

void TestHelpCommands::itemsWorkWhileANumberIsInvalid()
{
    QFETCH(int, command);
    QFETCH(QString, target);
    WindowFixture fixture;
    putReadme(fixture.path(QStringLiteral("readme.txt")));
    fixture.open();
    fixture.type(IdCharacterCount, QStringLiteral("60"));
    fixture.type(IdPassword, QStringLiteral("typed"));

    fixture.triggerMenu(command);

    QCOMPARE(fixture.desktop.shellCalls.size(), 1);
    QCOMPARE(fixture.desktop.shellCalls.constFirst().target, target);
    QVERIFY(fixture.desktop.messages.isEmpty());
    // The controls were neither read nor written back.
    QCOMPARE(fixture.edit(IdCharacterCount)->text(), QStringLiteral("60"));
    QCOMPARE(fixture.edit(IdPassword)->text(), QStringLiteral("typed"));
}

void TestHelpCommands::theReadmeIsOpenedFromTheWorkingDirectory()
{
    WindowFixture fixture;
    putReadme(fixture.path(QStringLiteral("readme.txt")));
    fixture.open();
    fixture.triggerMenu(CmdReadme);

    QCOMPARE(fixture.desktop.shellCalls.size(), 1);
    const QUrl url = QtDesktop::targetUrl(fixture.desktop.shellCalls.constFirst().target);
    QVERIFY(url.isLocalFile());
    QCOMPARE(QFileInfo(url.toLocalFile()).absoluteFilePath(),
             QFileInfo(fixture.path(QStringLiteral("readme.txt"))).absoluteFilePath());
}

void TestHelpCommands::theReadmeIsLookedForInTurn_data()
{
    QTest::addColumn<bool>("inWorkingDirectory");
    QTest::addColumn<bool>("installed");
    QTest::newRow("the working directory's read-me comes before the installed one") << true << true;
    QTest::newRow("from a folder without one, the installed read-me opens") << false << true;
    QTest::newRow("with neither, a box names the files looked for") << false << false;
}

void TestHelpCommands::theReadmeIsLookedForInTurn()
{
    QFETCH(bool, inWorkingDirectory);
    QFETCH(bool, installed);
    QTemporaryDir package;
    const QString installedReadme = package.filePath(QStringLiteral("readme.txt"));
    if (installed)
        putReadme(installedReadme);
    setInstalledReadme(installedReadme);
    WindowFixture fixture;
    if (inWorkingDirectory)
        putReadme(fixture.path(QStringLiteral("readme.txt")));
    fixture.open();

    fixture.triggerMenu(CmdReadme);

    QStringList opened;
    for (const FakeDesktop::ShellCall& call : std::as_const(fixture.desktop.shellCalls))
        opened.append(call.target);
    const QString wanted = inWorkingDirectory ? QStringLiteral("readme.txt") : installedReadme;
    QCOMPARE(opened, installed ? QStringList{wanted} : QStringList());
    const QString box = fixture.desktop.messages.isEmpty() ? QString() : fixture.desktop.messages.constFirst().text;
    QCOMPARE(box.split(QLatin1Char('\n')).mid(1),
             installed ? QStringList() : QStringList({fixture.path(QStringLiteral("readme.txt")), installedReadme}));
}

void TestHelpCommands::onlyTheUsersOwnReadmeInTheWorkingDirectoryIsOpened_data()
{
    QTest::addColumn<QString>("readme");
    QTest::addColumn<bool>("opened");
    QTest::newRow("a readme.txt another user planted gives way to the installed one")
        << QStringLiteral("their file") << false;
    QTest::newRow("another user's link named readme.txt, even to the user's own file, gives way to the installed one")
        << QStringLiteral("their link") << false;
    QTest::newRow("a named pipe called readme.txt gives way to the installed one") << QStringLiteral("pipe") << false;
    QTest::newRow("the user's own readme.txt is still opened") << QStringLiteral("own file") << true;
}

void TestHelpCommands::onlyTheUsersOwnReadmeInTheWorkingDirectoryIsOpened()
{
    QFETCH(QString, readme);
    QFETCH(bool, opened);
    HostileFolder hostile;
    const bool planted = readme.startsWith(QStringLiteral("their"));
    if (planted && !hostile.unavailable().isEmpty())
        QSKIP(qPrintable(hostile.unavailable()));
    QVERIFY2(hostile.error().isEmpty(), qPrintable(hostile.error()));
    QTemporaryDir package;
    const QString installed = package.filePath(QStringLiteral("readme.txt"));
    putReadme(installed);
    setInstalledReadme(installed);
    WindowFixture fixture;
    if (planted)
        QVERIFY(QDir::setCurrent(
            hostile.path(readme == QStringLiteral("their file") ? QStringLiteral("planted") : QString())));
    else if (readme == QStringLiteral("pipe"))
        QCOMPARE(::mkfifo(nativePath(fixture.path(QStringLiteral("readme.txt"))).constData(), 0600), 0);
    else
        putReadme(fixture.path(QStringLiteral("readme.txt")));
    fixture.open();

    fixture.triggerMenu(CmdReadme);

    QCOMPARE(fixture.desktop.shellCalls.size(), 1);
    QCOMPARE(fixture.desktop.shellCalls.constFirst().target, opened ? QStringLiteral("readme.txt") : installed);
}

void TestHelpCommands::uninstallShowsTheNoticeAndTheProgramGoesOn()
{
    WindowFixture fixture;
    CVarnelDlg& window = fixture.open();
    fixture.type(IdCharacterCount, QStringLiteral("60"));

    fixture.triggerMenu(CmdUninstall);

    QCOMPARE(fixture.desktop.messages.size(), 1);
    const FakeDesktop::Message& notice = fixture.desktop.messages.constFirst();
    QCOMPARE(notice.caption, QStringLiteral("How to Uninstall:"));
    QCOMPARE(notice.icon, Desktop::Icon::None);
    const QStringList lines = notice.text.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.at(0), QStringLiteral("To uninstall the program:"));
    QVERIFY(lines.at(1).contains(QStringLiteral("package manager")));
    QVERIFY(lines.at(1).contains(QStringLiteral("uninstall")));
    QVERIFY(!lines.at(1).contains(QStringLiteral("Control Panel")));
    QCOMPARE(lines.at(2), QString());
    QVERIFY(!notice.text.contains(QLatin1Char('\r')));

    QVERIFY(fixture.desktop.shellCalls.isEmpty());
    QVERIFY(fixture.desktop.exits.isEmpty());
    QVERIFY(window.isVisible());
    QCOMPARE(fixture.edit(IdCharacterCount)->text(), QStringLiteral("60"));

    fixture.triggerMenu(CmdUninstall);
    QCOMPARE(fixture.desktop.messages.size(), 2);
}

// The notice through the real message box, answered by a timer as a user would.
void TestHelpCommands::uninstallNoticeRunsAsARealMessageBox()
{
    WindowFixture fixture;
    QtDesktop desktop;
    CVarnelDlg& window = fixture.openWith(desktop);
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QString caption;
    QString text;
    QWidget* owner = nullptr;
    ModalAnswerer answerer;
    answerer.onMessageBox = [&](QMessageBox& box) {
        caption = box.windowTitle();
        text = box.text();
        owner = box.parentWidget();
        box.button(QMessageBox::Ok)->click();
    };

    window.OnHelpUninstall();

    QCOMPARE(caption, QStringLiteral("How to Uninstall:"));
    QVERIFY(text.startsWith(QStringLiteral("To uninstall the program:\n")));
    QCOMPARE(owner, &window);
    QVERIFY(window.isVisible());
}

void TestHelpCommands::targetUrlResolvesRelativeNamesAgainstTheWorkingDirectory()
{
    QTemporaryDir first;
    QTemporaryDir second;
    QVERIFY(first.isValid() && second.isValid());
    WorkingDirectoryGuard guard;

    QVERIFY(QDir::setCurrent(first.path()));
    QCOMPARE(QtDesktop::targetUrl(QStringLiteral("readme.txt")),
             QUrl::fromLocalFile(QDir(first.path()).absoluteFilePath(QStringLiteral("readme.txt"))));

    QVERIFY(QDir::setCurrent(second.path()));
    QCOMPARE(QtDesktop::targetUrl(QStringLiteral("readme.txt")),
             QUrl::fromLocalFile(QDir(second.path()).absoluteFilePath(QStringLiteral("readme.txt"))));
}

void TestHelpCommands::targetUrlKeepsWebAndMailAddresses_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("a web page stays a web page") << QStringLiteral("https://varnel.example.org/varnel/help.htm");
    QTest::newRow("a plain http page keeps its scheme") << QStringLiteral("http://varnel.example.org/varnel/");
    QTest::newRow("a mail address keeps its subject")
        << QStringLiteral("mailto:support@varnel.example.org?subject=VarnelSupport");
    QTest::newRow("every configured target that is no file name is kept") << helpCommand(HelpTopic::BugReport).target;
}

void TestHelpCommands::targetUrlKeepsWebAndMailAddresses()
{
    QFETCH(QString, target);
    const QUrl url = QtDesktop::targetUrl(target);
    QVERIFY(!url.isLocalFile());
    QCOMPARE(url.toString(), target);
}

QTEST_MAIN(TestHelpCommands)
#include "tst_helpcommands.moc"
