#include "engine/Alphabets.h"
#include "engine/RandomSource.h"

#include <QtTest>

#include <linux/capability.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <optional>
#include <vector>

namespace {

// More bytes than one block of the system source holds, so that refills are crossed.
constexpr std::size_t ManyBytes = 200'000;

std::vector<quint8> takeAll(RandomSource& source, std::size_t count, std::size_t wanted)
{
    std::vector<quint8> bytes;
    while (bytes.size() < count) {
        const auto taken = source.take(std::min(wanted, count - bytes.size()));
        if (taken.empty())
            return {};
        bytes.insert(bytes.end(), taken.begin(), taken.end());
    }
    return bytes;
}

// What the system source's block takes, whole pages.
constexpr std::size_t BlockBytes = 64 * 1024;

// Kibibytes of this process's memory locked out of swap, as the kernel counts them.
qint64 lockedKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmLck:"))
            return line.mid(6).trimmed().split(' ').constFirst().toLongLong();
    }
    return -1;
}

// Whether this process may now lock as much memory as one block takes.
bool mayLockABlock()
{
    void* pages = ::mmap(nullptr, BlockBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pages == MAP_FAILED)
        return false;
    const bool locked = ::mlock(pages, BlockBytes) == 0;
    ::munmap(pages, BlockBytes);
    return locked;
}

// RLIMIT_MEMLOCK at 0, and root's CAP_IPC_LOCK, which passes any limit, held back; both as they were after.
class NoMemoryLockAllowed
{
    Q_DISABLE_COPY_MOVE(NoMemoryLockAllowed)

public:
    NoMemoryLockAllowed()
    {
        ::getrlimit(RLIMIT_MEMLOCK, &limit_);
        const rlimit none{0, limit_.rlim_max};
        ::setrlimit(RLIMIT_MEMLOCK, &none);
        ::syscall(SYS_capget, &header_, capabilities_);
        __user_cap_data_struct without[2] = {capabilities_[0], capabilities_[1]};
        without[0].effective &= ~(1U << CAP_IPC_LOCK);
        ::syscall(SYS_capset, &header_, without);
    }
    ~NoMemoryLockAllowed()
    {
        ::syscall(SYS_capset, &header_, capabilities_);
        ::setrlimit(RLIMIT_MEMLOCK, &limit_);
    }

private:
    rlimit limit_ = {};
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct capabilities_[2] = {};
};

// From here on getrandom fails as on a kernel without it.
bool refuseGetrandom()
{
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_getrandom, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | ENOSYS),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program = {static_cast<unsigned short>(std::size(filter)), filter};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

} // namespace

class TestRandomSource final : public QObject
{
    Q_OBJECT

private slots:
    void systemSourceGivesAtLeastOneAndNoMoreThanWanted_data();
    void systemSourceGivesAtLeastOneAndNoMoreThanWanted();
    void systemSourceNeverRepeatsARun();
    void systemSourceRefillsWithFreshValues();
    void systemSourceHandsOutWhatWasGivenBackFirst_data();
    void systemSourceHandsOutWhatWasGivenBackFirst();
    void systemSourceBlockIsLockedWhereTheLimitAllows_data();
    void systemSourceBlockIsLockedWhereTheLimitAllows();
    void aForkedChildTakesAKeyOfItsOwn_data();
    void aForkedChildTakesAKeyOfItsOwn();
};

void TestRandomSource::systemSourceGivesAtLeastOneAndNoMoreThanWanted_data()
{
    QTest::addColumn<std::size_t>("wanted");
    QTest::newRow("one byte at a time") << std::size_t(1);
    QTest::newRow("sixteen bytes at a time") << std::size_t(16);
    QTest::newRow("more than a whole block at a time") << std::size_t(100'000);
}

void TestRandomSource::systemSourceGivesAtLeastOneAndNoMoreThanWanted()
{
    QFETCH(std::size_t, wanted);

    SystemRandomSource source;
    std::size_t total = 0;
    while (total < ManyBytes) {
        const std::size_t size = source.take(wanted).size();
        QVERIFY2(size >= 1 && size <= wanted, qPrintable(QString::number(size)));
        total += size;
    }
}

// Equal runs by chance have a probability of 86^-49 (the passwords) and 2^-8000 (the bytes).
void TestRandomSource::systemSourceNeverRepeatsARun()
{
    const QByteArrayView alphabet = SelectAlphabet(LetterCase::Mixed, PasswordStyle::AlphaNumSym);
    SystemRandomSource first;
    SystemRandomSource second;
    const QByteArray firstPassword = ComposeRandomText(49, PasswordStyle::AlphaNumSym, alphabet, first);
    const QByteArray secondPassword = ComposeRandomText(49, PasswordStyle::AlphaNumSym, alphabet, second);
    QCOMPARE(firstPassword.size(), 49);
    QVERIFY(firstPassword != secondPassword);
    QVERIFY(ComposeRandomText(49, PasswordStyle::AlphaNumSym, alphabet, SystemRandomSource::instance())
            != ComposeRandomText(49, PasswordStyle::AlphaNumSym, alphabet, SystemRandomSource::instance()));
    QVERIFY(takeAll(first, 1000, 1000) != takeAll(second, 1000, 1000));
}

// Each block must be new and wholly filled: every bit takes both values within any 256 consecutive bytes
// (a chance of 2^-255 per bit of a correct source failing).
void TestRandomSource::systemSourceRefillsWithFreshValues()
{
    constexpr std::size_t Window = 256;
    SystemRandomSource source;
    const std::vector<quint8> bytes = takeAll(source, ManyBytes, 4096);
    QCOMPARE(bytes.size(), ManyBytes);

    for (std::size_t start = 0; start + Window <= bytes.size(); start += Window) {
        quint8 anySet = 0;
        quint8 allSet = 0xFF;
        for (std::size_t i = start; i < start + Window; ++i) {
            anySet |= bytes[i];
            allSet &= bytes[i];
        }
        QCOMPARE(anySet, quint8(0xFF));
        QCOMPARE(allSet, quint8(0));
    }
    for (std::size_t offset = Window; offset + Window <= bytes.size(); offset += Window)
        QVERIFY(!std::equal(bytes.begin(), bytes.begin() + Window, bytes.begin() + std::ptrdiff_t(offset)));
}

void TestRandomSource::systemSourceHandsOutWhatWasGivenBackFirst_data()
{
    QTest::addColumn<std::size_t>("wanted");
    QTest::addColumn<std::size_t>("givenBack");
    QTest::newRow("the last 4 of 20 bytes") << std::size_t(20) << std::size_t(4);
    QTest::newRow("all 16 bytes") << std::size_t(16) << std::size_t(16);
    QTest::newRow("10 bytes that end the block") << BlockBytes << std::size_t(10);
}

// The bytes given back come again, unwiped and before any fresh one, and once only (equal runs by chance: 2^-32).
void TestRandomSource::systemSourceHandsOutWhatWasGivenBackFirst()
{
    QFETCH(std::size_t, wanted);
    QFETCH(std::size_t, givenBack);

    SystemRandomSource source;
    QVERIFY(source.takesBack());
    const auto first = source.take(wanted);
    QVERIFY(first.size() >= givenBack);
    const std::vector<quint8> unused(first.end() - std::ptrdiff_t(givenBack), first.end());
    source.giveBack(givenBack);
    QCOMPARE(takeAll(source, givenBack, givenBack), unused);
    QVERIFY(takeAll(source, givenBack, givenBack) != unused);
}

void TestRandomSource::systemSourceBlockIsLockedWhereTheLimitAllows_data()
{
    QTest::addColumn<bool>("noLockAllowed");
    QTest::newRow("under the limit the block is kept out of swap while it lives") << false;
    QTest::newRow("where no lock is allowed the block still gives its bytes, unlocked") << true;
}

void TestRandomSource::systemSourceBlockIsLockedWhereTheLimitAllows()
{
    QFETCH(bool, noLockAllowed);
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("the address sanitizer makes mlock do nothing");
#endif
    std::optional<NoMemoryLockAllowed> restriction;
    if (noLockAllowed)
        restriction.emplace();
    const bool mayLock = mayLockABlock();
    if (!noLockAllowed && !mayLock)
        QSKIP("RLIMIT_MEMLOCK leaves less than one block to lock here");
    QCOMPARE(mayLock, !noLockAllowed);
    const qint64 before = lockedKiB();
    QVERIFY(before >= 0);

    {
        SystemRandomSource source;
        QCOMPARE(takeAll(source, ManyBytes, 4096).size(), ManyBytes);
        QCOMPARE(lockedKiB() >= before + qint64(BlockBytes / 1024), mayLock);
    }
    QCOMPARE(lockedKiB(), before);
}

void TestRandomSource::aForkedChildTakesAKeyOfItsOwn_data()
{
    QTest::addColumn<bool>("kernelRefuses");
    QTest::newRow("a child forked in the middle of a block never draws its parent's next bytes") << false;
    QTest::newRow("a child the kernel refuses a key draws nothing and tells the kernel's reason") << true;
}

void TestRandomSource::aForkedChildTakesAKeyOfItsOwn()
{
    QFETCH(bool, kernelRefuses);

    SystemRandomSource source;
    QCOMPARE(takeAll(source, 100, 100).size(), std::size_t(100));
    int ends[2];
    QCOMPARE(::pipe(ends), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        if (kernelRefuses && !refuseGetrandom())
            _exit(1);
        const std::vector<quint8> bytes = takeAll(source, 1000, 1000);
        const QByteArray told = bytes.empty() ? source.errorString().toUtf8()
                                              : QByteArray(reinterpret_cast<const char*>(bytes.data()), 1000);
        _exit(::write(ends[1], told.constData(), std::size_t(told.size())) == told.size() ? 0 : 1);
    }
    ::close(ends[1]);
    // One write of less than a pipe's buffer arrives whole.
    QByteArray fromChild(1000, '\0');
    fromChild.resize(std::max<qsizetype>(::read(ends[0], fromChild.data(), 1000), 0));
    ::close(ends[0]);
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QCOMPARE(status, 0);

    const std::vector<quint8> parent = takeAll(source, 1000, 1000);
    if (kernelRefuses)
        QCOMPARE(fromChild, QByteArray("Function not implemented"));
    else
        QCOMPARE_NE(fromChild, QByteArray(reinterpret_cast<const char*>(parent.data()), 1000));
}

QTEST_GUILESS_MAIN(TestRandomSource)
#include "tst_randomsource.moc"
