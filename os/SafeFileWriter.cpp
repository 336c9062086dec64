#include "os/SafeFileWriter.h"

#include "os/NativeFileName.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>

#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qsizetype BufferSize = 64 * 1024;
constexpr int MaxLinkHops = 40;
const char* const ForeignLinkReason = "is a symbolic link owned by another user";

// A fifo whose reader has gone raises SIGPIPE on write, which would end the program. While writing in
// place the signal is held back and then discarded, so the write simply fails with "Broken pipe".
class SigpipeHold
{
    Q_DISABLE_COPY_MOVE(SigpipeHold)

public:
    SigpipeHold()
    {
        sigemptyset(&pipeOnly_);
        sigaddset(&pipeOnly_, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        wasPending_ = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipeOnly_, &previousMask_);
    }

    ~SigpipeHold()
    {
        sigset_t pending;
        sigpending(&pending);
        if (!wasPending_ && sigismember(&pending, SIGPIPE) == 1) {
            const timespec noWait{};
            sigtimedwait(&pipeOnly_, nullptr, &noWait);
        }
        pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr);
    }

private:
    sigset_t pipeOnly_;
    sigset_t previousMask_;
    bool wasPending_ = false;
};

constexpr int CleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Holds the cleanup signals back while a named temporary file comes and goes, so that the file is never
// on the disk without a slot that names it.
class CleanupSignalHold
{
    Q_DISABLE_COPY_MOVE(CleanupSignalHold)

public:
    CleanupSignalHold()
    {
        sigset_t held;
        sigemptyset(&held);
        for (const int signal : CleanupSignals)
            sigaddset(&held, signal);
        pthread_sigmask(SIG_BLOCK, &held, &previousMask_);
    }
    ~CleanupSignalHold() { pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr); }

private:
    sigset_t previousMask_;
};

// The named temporary files alive, for the signal handler: fixed storage, nothing to allocate or lock.
// A slot's folder is -1 when free, -2 while it is being filled.
struct TemporaryFileSlot
{
    std::atomic<int> folder{-1};
    char name[NAME_MAX + 1] = {};
};
TemporaryFileSlot temporaryFiles[16];

int registerTemporaryFile(int folder, const QByteArray& name)
{
    if (name.size() > NAME_MAX)
        return -1;
    for (int slot = 0; slot < int(std::size(temporaryFiles)); ++slot) {
        int expected = -1;
        if (temporaryFiles[slot].folder.compare_exchange_strong(expected, -2)) {
            std::memcpy(temporaryFiles[slot].name, name.constData(), size_t(name.size()) + 1);
            temporaryFiles[slot].folder.store(folder);
            return slot;
        }
    }
    return -1;
}

void unregisterTemporaryFile(int slot)
{
    if (slot >= 0)
        temporaryFiles[slot].folder.store(-1);
}

void removeTemporaryFilesAndDie(int signal)
{
    const int savedErrno = errno;
    for (TemporaryFileSlot& slot : temporaryFiles) {
        const int folder = slot.folder.load();
        if (folder >= 0)
            ::unlinkat(folder, slot.name, 0);
    }
    ::signal(signal, SIG_DFL);
    ::raise(signal);
    errno = savedErrno;
}

// A name for a temporary file beside the target: hidden, and unlikely to be taken.
QByteArray temporaryNameFor(const QByteArray& target)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    unsigned char random[8] = {};
    if (::getrandom(random, sizeof random, GRND_NONBLOCK) != qsizetype(sizeof random)) {
        timespec now = {};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        std::memcpy(random, &now.tv_nsec, std::min(sizeof random, sizeof now.tv_nsec));
    }
    QByteArray name = '.' + target.left(NAME_MAX - 10) + '.';
    for (const unsigned char byte : random)
        name += letters[byte % (sizeof letters - 1)];
    return name;
}

// Opens the folder that holds `path` (taken relative to `at`) and names the last part of the path.
int openFolderOf(int at, const QByteArray& path, QByteArray& name)
{
    const qsizetype slash = path.lastIndexOf('/');
    name = path.mid(slash + 1);
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
    if (name.isEmpty() || name == "." || name == "..") {
        errno = EISDIR;
        return -1;
    }
    const int descriptor = ::openat(at, folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0 || errno != EACCES)
        return descriptor;
    // A folder one may write in but not list still takes the file; it cannot be synced then.
    return ::openat(at, folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

bool creationDeniedByFolder(int error)
{
    return error == EACCES || error == EPERM || error == EROFS;
}

mode_t ownerBitsOf(QFileDevice::Permissions permissions)
{
    return (permissions.testFlag(QFileDevice::ReadOwner) ? S_IRUSR : 0)
        | (permissions.testFlag(QFileDevice::WriteOwner) ? S_IWUSR : 0)
        | (permissions.testFlag(QFileDevice::ExeOwner) ? S_IXUSR : 0);
}

constexpr int ForeignLink = -1;

// Walks the chain of links to the file named, one hop at a time, each under the rule. Gives the folder
// that holds the file and its name there; 0, an errno value, or ForeignLink. A link allowed that leads to
// a stream (a terminal, the pipe that /dev/stdout leads to) ends the walk there, with `stream` set: the
// stream is opened as the kernel finds it, since nothing is created or replaced there and /proc's links
// to pipes name no path to walk.
int resolveUnderLinkRule(const QByteArray& path, int& folder, QByteArray& name, struct stat& target, bool& exists,
                         bool& stream)
{
    stream = false;
    folder = openFolderOf(AT_FDCWD, path, name);
    if (folder < 0)
        return errno;
    for (int hops = 0;; ++hops) {
        exists = ::fstatat(folder, name.constData(), &target, AT_SYMLINK_NOFOLLOW) == 0;
        if (!exists)
            return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(target.st_mode))
            return 0;
        struct stat holder = {};
        if (::fstat(folder, &holder) != 0)
            return errno;
        if (target.st_uid != ::geteuid() && target.st_uid != holder.st_uid)
            return ForeignLink;
        struct stat followed = {};
        if (::fstatat(folder, name.constData(), &followed, 0) == 0 && !S_ISREG(followed.st_mode)
            && !S_ISDIR(followed.st_mode)) {
            target = followed;
            stream = true;
            return 0;
        }
        if (hops == MaxLinkHops)
            return ELOOP;
        char link[PATH_MAX];
        const ssize_t size = ::readlinkat(folder, name.constData(), link, sizeof link);
        if (size < 0)
            return errno;
        if (size == ssize_t(sizeof link))
            return ENAMETOOLONG;
        const int next = openFolderOf(folder, QByteArray(link, size), name);
        if (next < 0)
            return errno;
        ::close(folder);
        folder = next;
    }
}

} // namespace

int openUnderLinkRule(const QString& path, int flags)
{
    int folder = -1;
    QByteArray name;
    struct stat target = {};
    bool exists = false;
    bool stream = false;
    int error = resolveUnderLinkRule(nativeFileName(path), folder, name, target, exists, stream);
    const int descriptor =
        error == 0 ? ::openat(folder, name.constData(), flags | (stream ? 0 : O_NOFOLLOW) | O_CLOEXEC) : -1;
    if (descriptor < 0 && error == 0)
        error = errno;
    if (folder >= 0)
        ::close(folder);
    errno = error == ForeignLink ? ELOOP : error;
    return descriptor;
}

SafeFileWriter::SafeFileWriter(const QString& path, QFileDevice::Permissions newFilePermissions,
                               InPlaceFallback inPlaceFallback, Existing existing)
    : path_(path)
    , newFilePermissions_(newFilePermissions)
    , inPlaceFallback_(inPlaceFallback)
    , existing_(existing)
    , buffer_(BufferSize)
{ }

SafeFileWriter::~SafeFileWriter()
{
    discard();
    if (folder_ >= 0)
        ::close(folder_);
}

bool SafeFileWriter::open()
{
    if (state_ != State::Closed)
        return state_ == State::Open;

    struct stat target = {};
    bool exists = false;
    if (!resolveTarget(target, exists))
        return false;
    if (exists && existing_ == Existing::Refuse) {
        targetExists_ = true;
        return failWithErrno(EEXIST);
    }
    if (exists) {
        if (S_ISDIR(target.st_mode))
            return failWithErrno(EISDIR);
        // Writing a list of passwords over a disk would destroy whatever it holds.
        if (S_ISBLK(target.st_mode))
            return fail(QStringLiteral("It is a disk device, not a file"));
        if (!S_ISREG(target.st_mode))
            return openInPlace(stream_ ? 0 : O_NOFOLLOW, target);
        if (::faccessat(folder_, name_.constData(), W_OK, AT_SYMLINK_NOFOLLOW) != 0)
            return failWithErrno(errno);
    }
    return makeTemporaryFile(exists, target.st_mode);
}

bool SafeFileWriter::write(QByteArrayView data)
{
    if (!open())
        return false;
    if (buffered_ + data.size() > BufferSize && !flushBuffer())
        return false;
    if (data.size() >= BufferSize)
        return writeThrough(data.data(), data.size());
    std::memcpy(buffer_.data() + buffered_, data.data(), size_t(data.size()));
    buffered_ += data.size();
    return true;
}

bool SafeFileWriter::commit()
{
    if (!open() || !flushBuffer())
        return false;
    // The disk may still refuse the bytes the system took (a full disk, a quota, a network file system):
    // only once they are there does the file take the target's place.
    if ((!inPlace_ || inPlaceIsRegular_) && ::fdatasync(file_) != 0)
        return failWithErrno(errno);
    if (!inPlace_ && !linkIntoPlace())
        return false;
    const int file = file_;
    file_ = -1;
    if (::close(file) != 0 && errno != EINTR)
        return failWithErrno(errno);
    if (!inPlace_ && folderCanSync_ && ::fsync(folder_) != 0 && errno != EINVAL)
        return failWithErrno(errno);
    state_ = State::Committed;
    return true;
}

bool SafeFileWriter::hasError() const
{
    return state_ == State::Failed;
}

QString SafeFileWriter::errorString() const
{
    return errorString_;
}

bool SafeFileWriter::targetExists() const
{
    return targetExists_;
}

void SafeFileWriter::removeTemporaryFilesOnSignals()
{
    struct sigaction action = {};
    action.sa_handler = removeTemporaryFilesAndDie;
    sigemptyset(&action.sa_mask);
    for (const int signal : CleanupSignals)
        sigaddset(&action.sa_mask, signal);
    for (const int signal : CleanupSignals) {
        struct sigaction previous = {};
        // A signal the caller's parent chose to ignore stays ignored, as it would have been.
        if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler != SIG_IGN)
            ::sigaction(signal, &action, nullptr);
    }
}

bool SafeFileWriter::resolveTarget(struct stat& target, bool& exists)
{
    const int error = resolveUnderLinkRule(nativeFileName(path_), folder_, name_, target, exists, stream_);
    if (error == ForeignLink)
        return fail(QString::fromLatin1(ForeignLinkReason));
    if (error != 0)
        return failWithErrno(error);
    const int flags = ::fcntl(folder_, F_GETFL);
    folderCanSync_ = flags >= 0 && (flags & O_PATH) == 0;
    return true;
}

bool SafeFileWriter::makeTemporaryFile(bool targetExists, mode_t targetMode)
{
    file_ = ::openat(folder_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, S_IRUSR | S_IWUSR);
    const bool unnamedUnsupported =
        file_ < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL || errno == ENOSYS);
    if (unnamedUnsupported) {
        const CleanupSignalHold hold;
        for (int attempt = 0; attempt < 100; ++attempt) {
            temporaryName_ = temporaryNameFor(name_);
            file_ = ::openat(folder_, temporaryName_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                             S_IRUSR | S_IWUSR);
            if (file_ >= 0) {
                signalSlot_ = registerTemporaryFile(folder_, temporaryName_);
                break;
            }
            if (errno != EEXIST)
                break;
        }
        if (file_ < 0)
            temporaryName_.clear();
    }
    if (file_ < 0) {
        const int error = errno;
        // A writable file of one's own in a folder that takes no new file stays writable: it is written
        // in place. Nothing else (a full disk, a quota, too many open files) touches the old file.
        if (targetExists && creationDeniedByFolder(error) && inPlaceFallback_ == InPlaceFallback::Allowed) {
            struct stat expected = {};
            expected.st_mode = targetMode;
            return openInPlace(O_NOFOLLOW, expected);
        }
        return failWithErrno(error);
    }

    struct stat made = {};
    if (::fstat(file_, &made) != 0)
        return failWithErrno(errno);
    if (made.st_uid != ::geteuid())
        return failWithErrno(EPERM);
    const mode_t mode = targetExists ? (targetMode & S_IRWXU) : (ownerBitsOf(newFilePermissions_) & made.st_mode);
    if ((made.st_mode & 07777) != mode && ::fchmod(file_, mode) != 0)
        return failWithErrno(errno);
    state_ = State::Open;
    return true;
}

bool SafeFileWriter::openInPlace(int followFlags, const struct stat& expected)
{
    // Without O_NONBLOCK, opening a fifo nobody reads would hang; with it, that open fails instead.
    file_ = ::openat(folder_, name_.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | followFlags);
    if (file_ < 0)
        return failWithErrno(errno);
    struct stat opened = {};
    if (::fstat(file_, &opened) != 0)
        return failWithErrno(errno);
    // What was opened must be what was looked at; a regular file must be one's own, and it loses any
    // permission for others before it gets the passwords.
    if ((opened.st_mode & S_IFMT) != (expected.st_mode & S_IFMT) || S_ISDIR(opened.st_mode) || S_ISBLK(opened.st_mode))
        return failWithErrno(EAGAIN);
    inPlaceIsRegular_ = S_ISREG(opened.st_mode);
    if (inPlaceIsRegular_) {
        if (opened.st_uid != ::geteuid())
            return failWithErrno(EACCES);
        if ((opened.st_mode & 077) != 0 && ::fchmod(file_, opened.st_mode & S_IRWXU) != 0)
            return failWithErrno(errno);
        if (::ftruncate(file_, 0) != 0)
            return failWithErrno(errno);
    }
    const int flags = ::fcntl(file_, F_GETFL);
    if (flags < 0 || ::fcntl(file_, F_SETFL, flags & ~O_NONBLOCK) < 0)
        return failWithErrno(errno);
    inPlace_ = true;
    state_ = State::Open;
    return true;
}

// The last step decides about an existing target: a refused one makes it fail with EEXIST, whenever the
// file appeared.
bool SafeFileWriter::linkIntoPlace()
{
    const bool replace = existing_ == Existing::Replace;
    const CleanupSignalHold hold;
    if (temporaryName_.isEmpty()) {
        char self[64];
        std::snprintf(self, sizeof self, "/proc/self/fd/%d", file_);
        const auto linkAs = [&](const QByteArray& name) {
            if (::linkat(AT_FDCWD, self, folder_, name.constData(), AT_SYMLINK_FOLLOW) == 0)
                return 0;
            // Without /proc, only a caller allowed to open files by handle may link by descriptor.
            if (errno == ENOENT && ::linkat(file_, "", folder_, name.constData(), AT_EMPTY_PATH) == 0)
                return 0;
            return errno;
        };
        if (!replace) {
            const int error = linkAs(name_);
            targetExists_ = error == EEXIST;
            return error == 0 || failWithErrno(error);
        }
        // Replacing takes a rename, which needs a name to rename from.
        int error = EEXIST;
        for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
            temporaryName_ = temporaryNameFor(name_);
            error = linkAs(temporaryName_);
        }
        if (error != 0) {
            temporaryName_.clear();
            return failWithErrno(error);
        }
        signalSlot_ = registerTemporaryFile(folder_, temporaryName_);
    }

    int renamed = 0;
    if (replace) {
        renamed = ::renameat(folder_, temporaryName_.constData(), folder_, name_.constData());
    } else {
        renamed = ::renameat2(folder_, temporaryName_.constData(), folder_, name_.constData(), RENAME_NOREPLACE);
        // A file system without that flag still refuses an existing name to link.
        if (renamed != 0 && (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
            renamed = ::linkat(folder_, temporaryName_.constData(), folder_, name_.constData(), 0);
            if (renamed == 0)
                ::unlinkat(folder_, temporaryName_.constData(), 0);
        }
    }
    if (renamed != 0) {
        targetExists_ = !replace && errno == EEXIST;
        return failWithErrno(errno);
    }
    unregisterTemporaryFile(signalSlot_);
    signalSlot_ = -1;
    temporaryName_.clear();
    return true;
}

bool SafeFileWriter::writeThrough(const char* data, qsizetype size)
{
    std::optional<SigpipeHold> hold;
    if (inPlace_)
        hold.emplace();
    while (size > 0) {
        const ssize_t written = ::write(file_, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return failWithErrno(errno);
        }
        // A short write is not an error yet: the next attempt either goes on or reports why it cannot.
        data += written;
        size -= written;
    }
    return true;
}

bool SafeFileWriter::flushBuffer()
{
    if (buffered_ == 0)
        return true;
    const bool written = writeThrough(reinterpret_cast<const char*>(buffer_.data()), buffered_);
    buffer_.wipe(0, size_t(buffered_));
    buffered_ = 0;
    return written;
}

bool SafeFileWriter::fail(const QString& reason)
{
    errorString_ = reason;
    state_ = State::Failed;
    discard();
    return false;
}

bool SafeFileWriter::failWithErrno(int error)
{
    return fail(QString::fromLocal8Bit(std::strerror(error)));
}

void SafeFileWriter::discard()
{
    buffer_.wipe(0, size_t(buffered_));
    buffered_ = 0;
    const CleanupSignalHold hold;
    if (!temporaryName_.isEmpty()) {
        ::unlinkat(folder_, temporaryName_.constData(), 0);
        temporaryName_.clear();
    }
    unregisterTemporaryFile(signalSlot_);
    signalSlot_ = -1;
    if (file_ >= 0) {
        ::close(file_);
        file_ = -1;
    }
}
