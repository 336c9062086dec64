#include "HostileFolder.h"
#include "TestFiles.h"
#include "os/FileDescriptor.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <csignal>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QString builtFile(const char* pathFromTest)
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromUtf8(pathFromTest));
}

enum class Setup { ForeignLink, PlantedFile, PlantedPipe, FileAppears, NoUnnamedFile, SignalNoUnnamedFile };

struct Run
{
    QProcess::ExitStatus exit = QProcess::CrashExit;
    int status = -1;
    QByteArray err;
};

// Names from a pipe keep the run going: after the first name, the entropy line comes once every file is open,
// and the run then waits for the test to do its part.
bool startWaitingRun(QProcess& process, const QString& program, const QStringList& arguments)
{
    process.start(program, arguments);
    if (!process.waitForStarted())
        return false;
    process.write("alice\n");
    process.setReadChannel(QProcess::StandardError);
    QByteArray entropy;
    while (!entropy.contains('\n') && process.waitForReadyRead(60'000))
        entropy += process.readAllStandardError();
    return entropy.startsWith("entropy:");
}

} // namespace

Q_DECLARE_METATYPE(Setup)

class TestCliFiles final : public QObject
{
    Q_OBJECT

private slots:
    void hostileSetupsLeaveTheUsersFilesAsTheyWere_data();
    void hostileSetupsLeaveTheUsersFilesAsTheyWere();
    void failedCommitLeavesNoNewFileAndReplacesNoMore_data();
    void failedCommitLeavesNoNewFileAndReplacesNoMore();
    void closedStandardStreamIsRefused_data();
    void closedStandardStreamIsRefused();
    void fileNamesAreTakenAsBytes();
};

void TestCliFiles::hostileSetupsLeaveTheUsersFilesAsTheyWere_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("err");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("mode");

    // bytes: what the file watched ends holding; "records" for three passwords.
    QTest::newRow("a link another user planted in a shared folder is not written through")
        << Setup::ForeignLink << 1 << "varnel-cli: vrn.ini: is a symbolic link owned by another user\n"_ba
        << "TOOLTIPS=no\n"_ba << 0600;
    QTest::newRow("a file readable by all that another user planted is replaced by a private one")
        << Setup::PlantedFile << 0 << QByteArray() << "records"_ba << 0600;
    QTest::newRow("a named pipe another user planted and reads gets nothing, even with --force")
        << Setup::PlantedPipe << 1 << "varnel-cli: pipe.csv: is a named pipe owned by another user\n"_ba << QByteArray()
        << 0666;
    QTest::newRow("a file that appears during the run is not replaced without --force")
        << Setup::FileAppears << 1 << "varnel-cli: out.txt: already exists (--force replaces it)\n"_ba
        << "appeared\n"_ba << 0644;
    QTest::newRow("without unnamed temporary files the file is still written, private")
        << Setup::NoUnnamedFile << 0 << QByteArray() << "records"_ba << 0600;
    QTest::newRow("Ctrl+C mid-run removes the named temporary file and keeps the old file")
        << Setup::SignalNoUnnamedFile << -SIGINT << QByteArray() << "old\n"_ba << 0640;
}

void TestCliFiles::hostileSetupsLeaveTheUsersFilesAsTheyWere()
{
    QFETCH(Setup, setup);
    QFETCH(int, status);
    QFETCH(QByteArray, err);
    QFETCH(QByteArray, bytes);
    QFETCH(int, mode);

    HostileFolder hostile;
    const bool planted = setup == Setup::ForeignLink || setup == Setup::PlantedFile || setup == Setup::PlantedPipe;
    if (planted && !hostile.unavailable().isEmpty())
        QSKIP(qPrintable(hostile.unavailable()));
    QVERIFY2(!planted || hostile.error().isEmpty(), qPrintable(hostile.error()));
    QTemporaryDir own;
    QVERIFY(own.isValid());
    QString folder = own.path();
    QString target = u"out.txt"_s;
    QString watched = target;
    QStringList arguments{u"-n"_s, u"3"_s, u"-u"_s, u"none"_s};
    if (setup == Setup::ForeignLink) {
        folder = hostile.path();
        target = u"vrn.ini"_s;
        watched = u"victim"_s;
    } else if (setup == Setup::PlantedFile || setup == Setup::PlantedPipe) {
        folder = hostile.path(u"planted"_s);
        watched = target = setup == Setup::PlantedFile ? u"out.csv"_s : u"pipe.csv"_s;
    } else if (setup == Setup::SignalNoUnnamedFile) {
        createFile(QDir(folder).filePath(target), "old\n"_ba, 0640);
    }
    // Names from a pipe keep the run going until the test has done its part in between.
    const bool waits = setup == Setup::FileAppears || setup == Setup::SignalNoUnnamedFile;
    if (waits)
        arguments = QStringList{u"-f"_s, u"-"_s, u"--entropy"_s};
    if (setup != Setup::FileAppears)
        arguments << u"--force"_s;
    arguments << u"-o"_s << target;
    const QStringList before = entriesOf(folder);
    const QString watchedPath = QDir(folder).filePath(watched);
    // A reader waits at the pipe, as the user who planted it would, so that only the rule keeps it empty.
    FileDescriptor reader;
    if (setup == Setup::PlantedPipe) {
        reader.reset(::open(nativePath(watchedPath).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        QVERIFY(reader);
    }

    QProcess process;
    process.setWorkingDirectory(folder);
    QString program = builtFile(VARNEL_CLI_FROM_TEST);
    if (setup == Setup::NoUnnamedFile || setup == Setup::SignalNoUnnamedFile) {
        arguments.prepend(program);
        program = builtFile(NO_TMPFILE_FROM_TEST);
    }
    if (!waits) {
        process.start(program, arguments);
        QVERIFY(process.waitForStarted());
    } else {
        QVERIFY(startWaitingRun(process, program, arguments));
        if (setup == Setup::FileAppears) {
            createFile(watchedPath, "appeared\n"_ba, 0644);
        } else {
            QTRY_COMPARE_WITH_TIMEOUT(entriesOf(folder).size(), 2, 60'000);
            QVERIFY(entriesOf(folder).constFirst().startsWith(u".out.txt."_s));
            ::kill(pid_t(process.processId()), SIGINT);
        }
    }
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished(120'000));

    if (status < 0) {
        QCOMPARE(process.exitStatus(), QProcess::CrashExit);
        QCOMPARE(process.exitCode(), -status);
    } else {
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), status);
        QCOMPARE(process.readAllStandardError(), err);
    }
    QByteArray content;
    if (reader) {
        char received[256] = {};
        content = QByteArray(received, int(std::max<ssize_t>(::read(reader.get(), received, sizeof received), 0)));
    } else {
        content = contentOf(watchedPath);
    }
    if (bytes == "records"_ba)
        QVERIFY2(QRegularExpression(u"\\A([0-9A-Za-z]{16}\n){3}\\z"_s).match(QString::fromLatin1(content)).hasMatch(),
                 content.constData());
    else
        QCOMPARE(content, bytes);
    QCOMPARE(int(permissionsOf(watchedPath)), mode);
    if (bytes == "records"_ba)
        QCOMPARE(statusOf(watchedPath).st_uid, ::geteuid());
    QStringList after = before;
    if (!after.contains(watched))
        after = QStringList{watched};
    QCOMPARE(entriesOf(folder), after);
}

void TestCliFiles::failedCommitLeavesNoNewFileAndReplacesNoMore_data()
{
    QTest::addColumn<QByteArray>("oldPlain");
    QTest::addColumn<bool>("force");
    QTest::addColumn<QByteArray>("err");
    QTest::addColumn<QStringList>("entries");

    // oldPlain: what plain.csv holds before the run, if there is one. While the run waits, out.txt appears:
    // without --force a file, with it a folder, which no file replaces.
    QTest::newRow("the plain file already in place is removed again when the output file is refused at the end")
        << QByteArray() << false << "varnel-cli: out.txt: already exists (--force replaces it)\n"_ba
        << QStringList{u"out.txt"_s};
    QTest::newRow("an existing plain file is not replaced when the new output file cannot take its name")
        << "old\n"_ba << true << "varnel-cli: out.txt: Is a directory\n"_ba
        << QStringList{u"out.txt"_s, u"plain.csv"_s};
}

void TestCliFiles::failedCommitLeavesNoNewFileAndReplacesNoMore()
{
    QFETCH(QByteArray, oldPlain);
    QFETCH(bool, force);
    QFETCH(QByteArray, err);
    QFETCH(QStringList, entries);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    if (!oldPlain.isEmpty())
        createFile(folder.filePath(u"plain.csv"_s), oldPlain, 0600);
    QStringList arguments{u"-f"_s, u"-"_s, u"--entropy"_s, u"--plain"_s, u"plain.csv"_s, u"-o"_s, u"out.txt"_s};
    if (force)
        arguments << u"--force"_s;

    QProcess process;
    process.setWorkingDirectory(folder.path());
    QVERIFY(startWaitingRun(process, builtFile(VARNEL_CLI_FROM_TEST), arguments));
    if (force)
        QVERIFY(QDir(folder.path()).mkdir(u"out.txt"_s));
    else
        createFile(folder.filePath(u"out.txt"_s), "appeared\n"_ba);
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished(120'000));

    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 1);
    QCOMPARE(process.readAllStandardError(), err);
    QCOMPARE(entriesOf(folder.path()), entries);
    if (!oldPlain.isEmpty())
        QCOMPARE(contentOf(folder.filePath(u"plain.csv"_s)), oldPlain);
    if (!force)
        QCOMPARE(contentOf(folder.filePath(u"out.txt"_s)), "appeared\n"_ba);
}

void TestCliFiles::closedStandardStreamIsRefused_data()
{
    QTest::addColumn<int>("closed");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("err");

    QTest::newRow("records are not written into whatever took a closed standard output's place")
        << 1 << QStringList{u"-n"_s, u"1"_s, u"-l"_s, u"7"_s, u"-u"_s, u"none"_s}
        << "varnel-cli: standard output is closed\n"_ba;
    QTest::newRow("names are not read from a closed standard input")
        << 0 << QStringList{u"-f"_s, u"-"_s} << "varnel-cli: standard input: Bad file descriptor\n"_ba;
}

void TestCliFiles::closedStandardStreamIsRefused()
{
    QFETCH(int, closed);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, err);

    QProcess process;
    process.setChildProcessModifier([closed] { ::close(closed); });
    process.start(builtFile(VARNEL_CLI_FROM_TEST), arguments);
    QVERIFY(process.waitForFinished(60'000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 1);
    QCOMPARE(process.readAllStandardError(), err);
    QCOMPARE(process.readAllStandardOutput(), QByteArray());
}

void TestCliFiles::fileNamesAreTakenAsBytes()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QByteArray folderPath = nativePath(folder.path());
    FILE* names = std::fopen((folderPath + "/names\xff.txt").constData(), "w");
    QVERIFY(names);
    std::fputs("alice\nbob\n", names);
    std::fclose(names);

    QProcess process;
    process.setWorkingDirectory(folder.path());
    process.start(u"/bin/sh"_s,
                  {u"-c"_s, u"exec \"$0\" -f \"$(printf 'names\\377.txt')\" -o \"$(printf 'out\\377.txt')\""_s,
                   builtFile(VARNEL_CLI_FROM_TEST)});
    QVERIFY(process.waitForFinished(60'000));
    QCOMPARE(process.readAllStandardError(), QByteArray());
    QCOMPARE(process.exitCode(), 0);
    QFile written;
    FILE* output = std::fopen((folderPath + "/out\xff.txt").constData(), "r");
    QVERIFY(output);
    QVERIFY(written.open(output, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
    const QByteArray records = written.readAll();
    QVERIFY2(QRegularExpression(u"\\A[0-9A-Za-z]{16},alice\n[0-9A-Za-z]{16},bob\n\\z"_s)
                 .match(QString::fromLatin1(records))
                 .hasMatch(),
             records.constData());
}

QTEST_GUILESS_MAIN(TestCliFiles)
#include "tst_clifiles.moc"
