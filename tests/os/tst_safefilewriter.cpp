#include "FileSizeLimit.h"
#include "HostileFolder.h"
#include "TestFiles.h"
#include "os/FileDescriptor.h"
#include "os/SafeFileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions ReadableByAll = OwnerOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther;

// Where the bytes are sent; each of the pipes has a reader, so that only the rule can keep them out.
enum class Stream { OwnPipe, OwnPipeThroughProc, DevNull, PlantedPipe, ChainToPlantedPipe, PlantedPipeThroughProc };

mode_t modeOf(const QString& path)
{
    struct stat status = {};
    if (::stat(nativePath(path).constData(), &status) != 0)
        return mode_t(-1);
    return status.st_mode;
}

} // namespace

Q_DECLARE_METATYPE(Stream)

class TestSafeFileWriter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newFileGetsRequestedPermissions_data();
    void newFileGetsRequestedPermissions();
    void replacedFileKeepsItsPermissions_data();
    void replacedFileKeepsItsPermissions();
    void writesLargeContentExactly();
    void replacesTheTargetOfASymlink();
    void uncommittedWriterLeavesOldFile();
    void refusedTargetsLeaveEverythingAsItWas_data();
    void refusedTargetsLeaveEverythingAsItWas();
    void fullDeviceIsReportedAndStaysADevice();
    void failureInMidFileKeepsOldFile();
    void streamIsWrittenOnlyWhenTheUsersOwnOrADeviceOfRoots_data();
    void streamIsWrittenOnlyWhenTheUsersOwnOrADeviceOfRoots();
    void fifoWithoutReaderFailsAtOnce();
    void fifoWhoseReaderLeftFailsWithoutSignal();
    void writableFileInAFolderThatTakesNoNewFileIsWrittenInPlace_data();
    void writableFileInAFolderThatTakesNoNewFileIsWrittenInPlace();

private:
    mode_t oldMask_ = 0;
};

void TestSafeFileWriter::init()
{
    oldMask_ = ::umask(022);
}

void TestSafeFileWriter::cleanup()
{
    ::umask(oldMask_);
}

void TestSafeFileWriter::newFileGetsRequestedPermissions_data()
{
    QTest::addColumn<QFileDevice::Permissions>("requested");
    QTest::addColumn<int>("umask");
    QTest::addColumn<int>("mode");

    QTest::newRow("an export is readable by its owner only") << OwnerOnly << 022 << 0600;
    QTest::newRow("permission asked for others is not given") << ReadableByAll << 022 << 0600;
    QTest::newRow("a stricter umask still narrows what is asked") << OwnerOnly << 0277 << 0400;
}

void TestSafeFileWriter::newFileGetsRequestedPermissions()
{
    QFETCH(QFileDevice::Permissions, requested);
    QFETCH(int, umask);
    QFETCH(int, mode);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"new.txt"_s);
    ::umask(static_cast<mode_t>(umask));
    SafeFileWriter writer(path, requested);
    QVERIFY(writer.write("abc"));
    QVERIFY2(writer.commit(), qPrintable(writer.errorString()));

    QCOMPARE(contentOf(path), "abc"_ba);
    QVERIFY(S_ISREG(modeOf(path)));
    QCOMPARE(modeOf(path) & 07777, mode_t(mode));
    QCOMPARE(entriesOf(dir.path()), QStringList{u"new.txt"_s});
}

void TestSafeFileWriter::replacedFileKeepsItsPermissions_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QFileDevice::Permissions>("requested");

    QTest::newRow("a 0640 file loses its group's permission") << 0640 << OwnerOnly;
    QTest::newRow("a 0600 file is not widened to what new files get") << 0600 << ReadableByAll;
    QTest::newRow("a 0755 file keeps its owner's execute bit only") << 0755 << OwnerOnly;
}

void TestSafeFileWriter::replacedFileKeepsItsPermissions()
{
    QFETCH(int, mode);
    QFETCH(QFileDevice::Permissions, requested);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"old.txt"_s);
    createFile(path, "a much longer old content\n"_ba, static_cast<mode_t>(mode));

    SafeFileWriter writer(path, requested);
    QVERIFY(writer.write("new"));
    QVERIFY2(writer.commit(), qPrintable(writer.errorString()));

    QCOMPARE(contentOf(path), "new"_ba);
    QCOMPARE(modeOf(path) & 07777, mode_t(mode & 0700));
    QCOMPARE(entriesOf(dir.path()), QStringList{u"old.txt"_s});
}

void TestSafeFileWriter::writesLargeContentExactly()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"large.txt"_s);
    QByteArray expected;
    SafeFileWriter writer(path, OwnerOnly);
    for (int i = 0; i < 100'000; ++i) {
        const QByteArray record = QByteArray::number(i) + ",\xff\0"_ba;
        QVERIFY(writer.write(record));
        expected += record;
    }
    const QByteArray big(300'000, 'z');
    QVERIFY(writer.write(big));
    expected += big;
    QVERIFY(writer.write("end"));
    expected += "end"_ba;
    QVERIFY2(writer.commit(), qPrintable(writer.errorString()));
    QCOMPARE(contentOf(path), expected);
}

void TestSafeFileWriter::replacesTheTargetOfASymlink()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString target = dir.filePath(u"target.txt"_s);
    const QString link = dir.filePath(u"link.txt"_s);
    createFile(target, "old"_ba, 0640);
    QVERIFY(QFile::link(target, link));

    SafeFileWriter writer(link, OwnerOnly);
    QVERIFY(writer.write("new"));
    QVERIFY2(writer.commit(), qPrintable(writer.errorString()));

    QCOMPARE(QFileInfo(link).symLinkTarget(), target);
    QCOMPARE(contentOf(target), "new"_ba);
    QCOMPARE(modeOf(target) & 07777, mode_t(0600));
}

void TestSafeFileWriter::uncommittedWriterLeavesOldFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"keep.txt"_s);
    createFile(path, "old\n"_ba, 0600);
    {
        SafeFileWriter writer(path, OwnerOnly);
        QVERIFY(writer.write(QByteArray(200'000, 'n')));
    }
    QCOMPARE(contentOf(path), "old\n"_ba);
    QCOMPARE(entriesOf(dir.path()), QStringList{u"keep.txt"_s});
}

void TestSafeFileWriter::refusedTargetsLeaveEverythingAsItWas_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("failsForRoot");

    QTest::newRow("a read-only file is refused") << u"folder/locked.txt"_s << u"Permission denied"_s << false;
    QTest::newRow("a file in a read-only folder is refused")
        << u"readonly/new.txt"_s << u"Permission denied"_s << false;
    QTest::newRow("a missing folder is reported") << u"missing/new.txt"_s << u"No such file or directory"_s << true;
    QTest::newRow("a folder as target is refused") << u"folder"_s << u"Is a directory"_s << true;
    QTest::newRow("a path through a file is refused even for root")
        << u"folder/locked.txt/new.txt"_s << u"Not a directory"_s << true;
}

void TestSafeFileWriter::refusedTargetsLeaveEverythingAsItWas()
{
    QFETCH(QString, target);
    QFETCH(QString, reason);
    QFETCH(bool, failsForRoot);

    if (!failsForRoot && runningAsRoot())
        QSKIP("Root writes regardless of permissions; the rows that fail for root cover this");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QDir root(dir.path());
    QVERIFY(root.mkdir(u"folder"_s));
    QVERIFY(root.mkdir(u"readonly"_s));
    createFile(dir.filePath(u"folder/locked.txt"_s), "old\n"_ba, 0444);
    QCOMPARE(::chmod(nativePath(dir.filePath(u"readonly"_s)).constData(), 0555), 0);
    const QStringList before = entriesOf(dir.filePath(u"folder"_s)) + entriesOf(dir.filePath(u"readonly"_s));

    SafeFileWriter writer(dir.filePath(target), OwnerOnly);
    writer.write("new");
    QVERIFY(!writer.commit());
    QVERIFY(writer.hasError());
    QCOMPARE(writer.errorString(), reason);
    QVERIFY(!writer.write("more"));
    QCOMPARE(writer.errorString(), reason);

    QCOMPARE(contentOf(dir.filePath(u"folder/locked.txt"_s)), "old\n"_ba);
    QCOMPARE(entriesOf(dir.filePath(u"folder"_s)) + entriesOf(dir.filePath(u"readonly"_s)), before);
    QCOMPARE(entriesOf(dir.path()), (QStringList{u"folder"_s, u"readonly"_s}));
    QCOMPARE(::chmod(nativePath(dir.filePath(u"readonly"_s)).constData(), 0755), 0);
}

void TestSafeFileWriter::fullDeviceIsReportedAndStaysADevice()
{
    const QString full = u"/dev/full"_s;
    if (!S_ISCHR(modeOf(full)))
        QSKIP("This system has no /dev/full");

    SafeFileWriter small(full, OwnerOnly);
    QVERIFY(small.write("a few bytes"));
    QVERIFY(!small.commit());
    QCOMPARE(small.errorString(), u"No space left on device"_s);

    SafeFileWriter large(full, OwnerOnly);
    QVERIFY(!large.write(QByteArray(1'000'000, 'x')));
    QVERIFY(!large.commit());
    QCOMPARE(large.errorString(), u"No space left on device"_s);

    QVERIFY(S_ISCHR(modeOf(full)));
}

void TestSafeFileWriter::failureInMidFileKeepsOldFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"export.csv"_s);
    const QByteArray old = "old,content\n"_ba;
    createFile(path, old, 0640);

    bool committed = true;
    QString reason;
    {
        // A file size limit makes the disk "full" part way through, for root too.
        const FileSizeLimit limit(10'000);
        QVERIFY(limit.inForce());
        SafeFileWriter writer(path, OwnerOnly);
        for (int i = 0; i < 1000; ++i)
            writer.write("0123456789012345678901234567890123456789\n");
        committed = writer.commit();
        reason = writer.errorString();
    }

    QVERIFY(!committed);
    QCOMPARE(reason, u"File too large"_s);
    QCOMPARE(contentOf(path), old);
    QCOMPARE(modeOf(path) & 07777, mode_t(0640));
    QCOMPARE(entriesOf(dir.path()), QStringList{u"export.csv"_s});
}

void TestSafeFileWriter::streamIsWrittenOnlyWhenTheUsersOwnOrADeviceOfRoots_data()
{
    QTest::addColumn<Stream>("stream");
    QTest::addColumn<QString>("reason");

    QTest::newRow("the user's own named pipe is written in place and stays a pipe") << Stream::OwnPipe << QString();
    QTest::newRow("the user's own pipe behind a link to /proc/self/fd, as /dev/stdout is, is written")
        << Stream::OwnPipeThroughProc << QString();
    QTest::newRow("/dev/null, a device of root's, takes the bytes and stays a device") << Stream::DevNull << QString();
    QTest::newRow("a named pipe another user planted gets nothing though they read it")
        << Stream::PlantedPipe << u"is a named pipe owned by another user"_s;
    QTest::newRow("a chain from the user's own link through another user's link gets nothing to the pipe at its end")
        << Stream::ChainToPlantedPipe << u"is a symbolic link owned by another user"_s;
    QTest::newRow("another user's named pipe reached through /proc/self/fd gets nothing")
        << Stream::PlantedPipeThroughProc << u"is a named pipe owned by another user"_s;
}

void TestSafeFileWriter::streamIsWrittenOnlyWhenTheUsersOwnOrADeviceOfRoots()
{
    QFETCH(Stream, stream);
    QFETCH(QString, reason);

    HostileFolder hostile;
    const bool planted = stream >= Stream::PlantedPipe;
    if (planted && !hostile.unavailable().isEmpty())
        QSKIP(qPrintable(hostile.unavailable()));
    QVERIFY2(!planted || hostile.error().isEmpty(), qPrintable(hostile.error()));
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString plantedPipe = hostile.path(u"planted/pipe.csv"_s);
    const QString link = dir.filePath(u"link"_s);
    FileDescriptor reader;
    FileDescriptor ownPipeEnd;
    QString path = dir.filePath(u"pipe"_s);
    if (stream == Stream::OwnPipe)
        QCOMPARE(::mkfifo(nativePath(path).constData(), 0600), 0);
    if (stream == Stream::PlantedPipe || stream == Stream::PlantedPipeThroughProc)
        path = plantedPipe;
    if (stream != Stream::OwnPipeThroughProc && stream != Stream::DevNull)
        reader.reset(::open(nativePath(stream == Stream::ChainToPlantedPipe ? plantedPipe : path).constData(),
                            O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (stream == Stream::OwnPipeThroughProc) {
        int ends[2];
        QCOMPARE(::pipe2(ends, O_NONBLOCK | O_CLOEXEC), 0);
        reader.reset(ends[0]);
        ownPipeEnd.reset(ends[1]);
        QVERIFY(QFile::link(u"/proc/self/fd/"_s + QString::number(ownPipeEnd.get()), link));
        path = link;
    } else if (stream == Stream::ChainToPlantedPipe) {
        QVERIFY(QFile::link(hostile.path(u"planted/link.csv"_s), link));
        path = link;
    } else if (stream == Stream::PlantedPipeThroughProc) {
        path = u"/proc/self/fd/"_s + QString::number(reader.get());
    } else if (stream == Stream::DevNull) {
        path = u"/dev/null"_s;
    }
    QVERIFY(stream == Stream::DevNull || reader);
    const mode_t type = modeOf(path) & S_IFMT;
    const auto entries = [&] {
        return entriesOf(dir.path()) + (planted ? entriesOf(hostile.path(u"planted"_s)) : QStringList());
    };
    const QStringList before = entries();

    SafeFileWriter writer(path, OwnerOnly);
    writer.write("the passwords");
    const bool committed = writer.commit();

    QCOMPARE(writer.errorString(), reason);
    QCOMPARE(committed, reason.isEmpty());
    if (reader) {
        char received[64] = {};
        const ssize_t got = ::read(reader.get(), received, sizeof received);
        QCOMPARE(QByteArray(received, int(std::max<ssize_t>(got, 0))),
                 reason.isEmpty() ? "the passwords"_ba : QByteArray());
    }
    QCOMPARE(modeOf(path) & S_IFMT, type);
    QCOMPARE(entries(), before);
}

void TestSafeFileWriter::fifoWithoutReaderFailsAtOnce()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"pipe"_s);
    QCOMPARE(::mkfifo(nativePath(path).constData(), 0600), 0);

    SafeFileWriter writer(path, OwnerOnly);
    QVERIFY(!writer.open());
    QCOMPARE(writer.errorString(), u"No such device or address"_s);
    QVERIFY(S_ISFIFO(modeOf(path)));
}

void TestSafeFileWriter::fifoWhoseReaderLeftFailsWithoutSignal()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"pipe"_s);
    QCOMPARE(::mkfifo(nativePath(path).constData(), 0600), 0);
    const int reader = ::open(nativePath(path).constData(), O_RDONLY | O_NONBLOCK);
    QVERIFY(reader >= 0);

    SafeFileWriter writer(path, OwnerOnly);
    QVERIFY(writer.open());
    ::close(reader);
    writer.write("nobody listens");
    QVERIFY(!writer.commit());
    QCOMPARE(writer.errorString(), u"Broken pipe"_s);
}

void TestSafeFileWriter::writableFileInAFolderThatTakesNoNewFileIsWrittenInPlace_data()
{
    QTest::addColumn<bool>("diskFills");
    QTest::addColumn<QString>("reason");

    QTest::newRow("the new content stands in place of the old and the mode is kept") << false << QString();
    QTest::newRow("a write the full disk cuts off is reported") << true << u"File too large"_s;
}

void TestSafeFileWriter::writableFileInAFolderThatTakesNoNewFileIsWrittenInPlace()
{
    QFETCH(bool, diskFills);
    QFETCH(QString, reason);
    if (runningAsRoot())
        QSKIP("Root makes the temporary file in any folder");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"folder/vrn.ini"_s);
    QVERIFY(QDir(dir.path()).mkdir(u"folder"_s));
    createFile(path, "a much longer old content\n"_ba, 0640);
    QCOMPARE(::chmod(nativePath(dir.filePath(u"folder"_s)).constData(), 0555), 0);

    const QByteArray line = "0123456789012345678901234567890123456789\n"_ba;
    bool committed = false;
    QString error;
    {
        std::optional<FileSizeLimit> limit;
        if (diskFills)
            QVERIFY(limit.emplace(10).inForce());
        SafeFileWriter writer(path, OwnerOnly);
        for (int i = 0; i < 1000; ++i)
            writer.write(line);
        committed = writer.commit();
        error = writer.errorString();
    }
    QCOMPARE(::chmod(nativePath(dir.filePath(u"folder"_s)).constData(), 0755), 0);

    QCOMPARE(committed, !diskFills);
    QCOMPARE(error, reason);
    if (!diskFills)
        QCOMPARE(contentOf(path), line.repeated(1000));
    QCOMPARE(modeOf(path) & 07777, mode_t(0600));
    QCOMPARE(entriesOf(dir.filePath(u"folder"_s)), QStringList{u"vrn.ini"_s});
}

QTEST_GUILESS_MAIN(TestSafeFileWriter)
#include "tst_safefilewriter.moc"
