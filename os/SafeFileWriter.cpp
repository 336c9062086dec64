#include "os/SafeFileWriter.h"

#include "os/LinkRule.h"
#include "os/NativeFileName.h"
#include "os/StreamRule.h"
#include "os/TemporaryFiles.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qsizetype BufferSize = 64 * 1024;
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

} // namespace

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
}

bool SafeFileWriter::open()
{
    if (state_ != State::Closed)
        return state_ == State::Open;

    struct stat target = {};
    bool exists = false;
    if (!resolveTarget(target, exists))
        return false;
    replacesTarget_ = exists;
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
        if (!S_ISREG(target.st_mode)) {
            if (const char* refusal = streamRefusal(target))
                return fail(QString::fromLatin1(refusal));
            return openInPlace(stream_ ? 0 : O_NOFOLLOW, target);
        }
        if (::faccessat(folder_.get(), name_.constData(), W_OK, AT_SYMLINK_NOFOLLOW) != 0)
            return failWithErrno(errno);
    }
    return makeTemporaryFile(exists, target.st_mode);
}

bool SafeFileWriter::write(QByteArrayView data)
{
    if (!open())
        return false;
    synced_ = false;
    if (buffered_ + data.size() > BufferSize && !flushBuffer())
        return false;
    if (data.size() >= BufferSize)
        return writeThrough(data.data(), data.size());
    std::memcpy(buffer_.data() + buffered_, data.data(), size_t(data.size()));
    buffered_ += data.size();
    return true;
}

bool SafeFileWriter::sync()
{
    if (!open() || !flushBuffer())
        return false;
    // The disk may still refuse the bytes the system took (a full disk, a quota, a network file system):
    // only once they are there does the file take the target's place.
    if (!synced_ && (!inPlace_ || inPlaceIsRegular_) && ::fdatasync(file_.get()) != 0)
        return failWithErrno(errno);
    synced_ = true;
    return true;
}

bool SafeFileWriter::commit()
{
    if (!sync())
        return false;
    if (!inPlace_ && !linkIntoPlace())
        return false;
    linked_ = !inPlace_;
    if (file_.close() != 0 && errno != EINTR)
        return failWithErrno(errno);
    if (!inPlace_ && folderCanSync_ && ::fsync(folder_.get()) != 0 && errno != EINVAL)
        return failWithErrno(errno);
    state_ = State::Committed;
    return true;
}

void SafeFileWriter::withdraw()
{
    struct stat named = {};
    if (!linked_ || replacesTarget_ || ::fstatat(folder_.get(), name_.constData(), &named, AT_SYMLINK_NOFOLLOW) != 0
        || named.st_dev != device_ || named.st_ino != inode_ || ::unlinkat(folder_.get(), name_.constData(), 0) != 0)
        return;
    linked_ = false;
    if (folderCanSync_)
        ::fsync(folder_.get());
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
    ::removeTemporaryFilesOnSignals();
}

bool SafeFileWriter::resolveTarget(struct stat& target, bool& exists)
{
    const int error = resolveUnderLinkRule(nativeFileName(path_), folder_, name_, target, exists, stream_);
    if (error == ForeignLink)
        return fail(QString::fromLatin1(ForeignLinkReason));
    if (error != 0)
        return failWithErrno(error);
    const int flags = ::fcntl(folder_.get(), F_GETFL);
    folderCanSync_ = flags >= 0 && (flags & O_PATH) == 0;
    return true;
}

bool SafeFileWriter::makeTemporaryFile(bool targetExists, mode_t targetMode)
{
    file_.reset(::openat(folder_.get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, S_IRUSR | S_IWUSR));
    const bool unnamedUnsupported =
        !file_ && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL || errno == ENOSYS);
    if (unnamedUnsupported) {
        const CleanupSignalHold hold;
        for (int attempt = 0; attempt < 100; ++attempt) {
            temporaryName_ = temporaryNameFor(name_);
            file_.reset(::openat(folder_.get(), temporaryName_.constData(),
                                 O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, S_IRUSR | S_IWUSR));
            if (file_) {
                signalSlot_ = registerTemporaryFile(folder_.get(), temporaryName_);
                break;
            }
            if (errno != EEXIST)
                break;
        }
        if (!file_)
            temporaryName_.clear();
    }
    if (!file_) {
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
    if (::fstat(file_.get(), &made) != 0)
        return failWithErrno(errno);
    if (made.st_uid != ::geteuid())
        return failWithErrno(EPERM);
    device_ = made.st_dev;
    inode_ = made.st_ino;
    const mode_t mode = targetExists ? (targetMode & S_IRWXU) : (ownerBitsOf(newFilePermissions_) & made.st_mode);
    if ((made.st_mode & 07777) != mode && ::fchmod(file_.get(), mode) != 0)
        return failWithErrno(errno);
    state_ = State::Open;
    return true;
}

bool SafeFileWriter::openInPlace(int followFlags, const struct stat& expected)
{
    // Without O_NONBLOCK, opening a fifo nobody reads would hang; with it, that open fails instead.
    file_.reset(::openat(folder_.get(), name_.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | followFlags));
    if (!file_)
        return failWithErrno(errno);
    struct stat opened = {};
    if (::fstat(file_.get(), &opened) != 0)
        return failWithErrno(errno);
    // What was opened must be what was looked at, a stream the very one whose owner was judged; a regular
    // file must be one's own, and it loses any permission for others before it gets the passwords.
    inPlaceIsRegular_ = S_ISREG(opened.st_mode);
    const bool sameStream = inPlaceIsRegular_ || (opened.st_dev == expected.st_dev && opened.st_ino == expected.st_ino);
    if ((opened.st_mode & S_IFMT) != (expected.st_mode & S_IFMT) || !sameStream || S_ISDIR(opened.st_mode)
        || S_ISBLK(opened.st_mode))
        return failWithErrno(EAGAIN);
    if (inPlaceIsRegular_) {
        if (opened.st_uid != ::geteuid())
            return failWithErrno(EACCES);
        if ((opened.st_mode & 077) != 0 && ::fchmod(file_.get(), opened.st_mode & S_IRWXU) != 0)
            return failWithErrno(errno);
        if (::ftruncate(file_.get(), 0) != 0)
            return failWithErrno(errno);
    }
    const int flags = ::fcntl(file_.get(), F_GETFL);
    if (flags < 0 || ::fcntl(file_.get(), F_SETFL, flags & ~O_NONBLOCK) < 0)
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
        std::snprintf(self, sizeof self, "/proc/self/fd/%d", file_.get());
        const auto linkAs = [&](const QByteArray& name) {
            if (::linkat(AT_FDCWD, self, folder_.get(), name.constData(), AT_SYMLINK_FOLLOW) == 0)
                return 0;
            // Without /proc, only a caller allowed to open files by handle may link by descriptor.
            if (errno == ENOENT && ::linkat(file_.get(), "", folder_.get(), name.constData(), AT_EMPTY_PATH) == 0)
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
        signalSlot_ = registerTemporaryFile(folder_.get(), temporaryName_);
    }

    int renamed = 0;
    if (replace) {
        renamed = ::renameat(folder_.get(), temporaryName_.constData(), folder_.get(), name_.constData());
    } else {
        renamed =
            ::renameat2(folder_.get(), temporaryName_.constData(), folder_.get(), name_.constData(), RENAME_NOREPLACE);
        // A file system without that flag still refuses an existing name to link.
        if (renamed != 0 && (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
            renamed = ::linkat(folder_.get(), temporaryName_.constData(), folder_.get(), name_.constData(), 0);
            if (renamed == 0)
                ::unlinkat(folder_.get(), temporaryName_.constData(), 0);
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
        const ssize_t written = ::write(file_.get(), data, size_t(size));
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
        ::unlinkat(folder_.get(), temporaryName_.constData(), 0);
        temporaryName_.clear();
    }
    unregisterTemporaryFile(signalSlot_);
    signalSlot_ = -1;
    file_.reset();
}
