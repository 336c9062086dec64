#include "os/FileDescriptor.h"

#include <QTest>

#include <cerrno>
#include <optional>

#include <fcntl.h>
#include <unistd.h>

namespace {

enum Step { OwnerGoes, Release, MoveConstruct, MoveAssign };

// Asked at once after the step, before anything opens a file that could take the number again.
bool isClosed(int fd)
{
    return ::fcntl(fd, F_GETFD) == -1 && errno == EBADF;
}

} // namespace

class TestFileDescriptor : public QObject
{
    Q_OBJECT

private slots:
    void handsOnOrCloses_data();
    void handsOnOrCloses();
    void closeReportsAFailingClose();
};

void TestFileDescriptor::handsOnOrCloses_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<bool>("heldClosed");
    QTest::addColumn<bool>("targetsOldClosed");
    QTest::newRow("the descriptor is closed when its owner goes") << int(OwnerGoes) << true << false;
    QTest::newRow("release hands the descriptor on unclosed") << int(Release) << false << false;
    QTest::newRow("a move hands the descriptor on and leaves the source empty") << int(MoveConstruct) << false << false;
    QTest::newRow("a move into an owner closes the descriptor it held") << int(MoveAssign) << false << true;
}

void TestFileDescriptor::handsOnOrCloses()
{
    QFETCH(int, step);
    QFETCH(bool, heldClosed);
    QFETCH(bool, targetsOldClosed);
    int fds[2];
    QCOMPARE(::pipe2(fds, O_CLOEXEC), 0);
    std::optional<FileDescriptor> source(std::in_place, fds[0]);
    FileDescriptor target(fds[1]);
    std::optional<FileDescriptor> taker;
    if (step == OwnerGoes)
        source.reset();
    else if (step == Release)
        taker.emplace(source->release());
    else if (step == MoveConstruct)
        taker.emplace(std::move(*source));
    else
        target = std::move(*source);
    QCOMPARE(isClosed(fds[0]), heldClosed);
    QCOMPARE(isClosed(fds[1]), targetsOldClosed);
    if (source)
        QCOMPARE(source->get(), -1);
    if (!heldClosed)
        QCOMPARE((taker ? *taker : target).get(), fds[0]);
}

void TestFileDescriptor::closeReportsAFailingClose()
{
    int fds[2];
    QCOMPARE(::pipe2(fds, O_CLOEXEC), 0);
    FileDescriptor open(fds[0]);
    QCOMPARE(open.close(), 0);
    QVERIFY(isClosed(fds[0]));
    QVERIFY(!open);
    FileDescriptor closedBehindItsBack(fds[1]);
    QCOMPARE(::close(fds[1]), 0);
    const int result = closedBehindItsBack.close();
    const int error = errno;
    QCOMPARE(result, -1);
    QCOMPARE(error, EBADF);
}

QTEST_GUILESS_MAIN(TestFileDescriptor)
#include "tst_filedescriptor.moc"
