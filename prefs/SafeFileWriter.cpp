#include "prefs/SafeFileWriter.h"

#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <optional>

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qsizetype BufferSize = 64 * 1024;

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

} // namespace

SafeFileWriter::SafeFileWriter(const QString& path, QFileDevice::Permissions newFilePermissions,
                               InPlaceFallback inPlaceFallback)
    : path_(path), newFilePermissions_(newFilePermissions), inPlaceFallback_(inPlaceFallback), saveFile_(path)
{
    // Writing straight into the target when no temporary file can be made would defeat the point.
    saveFile_.setDirectWriteFallback(false);
}

SafeFileWriter::~SafeFileWriter()
{
    if (saveFile_.isOpen())
        saveFile_.cancelWriting();
}

bool SafeFileWriter::open()
{
    if (state_ != State::Closed)
        return state_ == State::Open;

    const QByteArray nativePath = QFile::encodeName(path_);
    struct stat target = {};
    const bool exists = ::stat(nativePath.constData(), &target) == 0;
    if (!exists) {
        if (errno != ENOENT)
            return failWithErrno(errno);
        // Tell a missing folder from a missing file: only the second is fine.
        const QByteArray folder = QFile::encodeName(QFileInfo(path_).absolutePath());
        struct stat parent = {};
        if (::stat(folder.constData(), &parent) != 0)
            return failWithErrno(errno);
    } else if (S_ISDIR(target.st_mode)) {
        return failWithErrno(EISDIR);
    } else if (S_ISBLK(target.st_mode)) {
        // Writing a list of passwords over a disk would destroy whatever it holds.
        return fail(QStringLiteral("It is a disk device, not a file"));
    } else if (!S_ISREG(target.st_mode)) {
        return openInPlace(nativePath, 0);
    } else if (::access(nativePath.constData(), W_OK) != 0) {
        return failWithErrno(errno);
    }

    if (!saveFile_.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        // A writable file in a folder that takes no new file stays writable: it is written in place.
        if (exists && inPlaceFallback_ == InPlaceFallback::Allowed)
            return openInPlace(nativePath, O_TRUNC);
        return fail(saveFile_.errorString());
    }
    // The temporary file was made with what the umask allows; narrowing that to the wanted permissions
    // honours both. A replaced file's permissions were copied onto it by QSaveFile already.
    if (!exists && !saveFile_.setPermissions(newFilePermissions_ & saveFile_.permissions()))
        return fail(saveFile_.errorString());
    device_ = &saveFile_;
    state_ = State::Open;
    return true;
}

bool SafeFileWriter::write(QByteArrayView data)
{
    if (!open())
        return false;
    if (buffer_.size() + data.size() > BufferSize && !flushBuffer())
        return false;
    if (data.size() >= BufferSize)
        return writeThrough(data);
    buffer_.append(data);
    return true;
}

bool SafeFileWriter::commit()
{
    if (!open() || !flushBuffer())
        return false;
    if (device_ == &saveFile_) {
        if (!saveFile_.commit())
            return fail(saveFile_.errorString());
    } else {
        // A regular file may still refuse the bytes the system took (a full disk or quota): as a
        // replaced file would, it reaches the disk before the write counts as done.
        if (inPlaceIsRegular_ && ::fsync(inPlaceFile_.handle()) != 0)
            return failWithErrno(errno);
        inPlaceFile_.close();
        if (inPlaceFile_.error() != QFileDevice::NoError)
            return fail(inPlaceFile_.errorString());
    }
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

bool SafeFileWriter::openInPlace(const QByteArray& nativePath, int extraFlags)
{
    // Without O_NONBLOCK, opening a fifo nobody reads would hang; with it, that open fails instead.
    const int fd = ::open(nativePath.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | extraFlags);
    if (fd < 0)
        return failWithErrno(errno);
    struct stat opened = {};
    inPlaceIsRegular_ = ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode);
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) {
        const int error = errno;
        ::close(fd);
        return failWithErrno(error);
    }
    if (!inPlaceFile_.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(inPlaceFile_.errorString());
    }
    device_ = &inPlaceFile_;
    state_ = State::Open;
    return true;
}

bool SafeFileWriter::writeThrough(QByteArrayView data)
{
    std::optional<SigpipeHold> hold;
    if (device_ == &inPlaceFile_)
        hold.emplace();
    const char* next = data.data();
    qint64 left = data.size();
    // A short write is not an error yet: the next attempt either goes on or reports why it cannot.
    while (left > 0) {
        const qint64 written = device_->write(next, left);
        if (written <= 0)
            return fail(device_->errorString());
        next += written;
        left -= written;
    }
    return true;
}

bool SafeFileWriter::flushBuffer()
{
    if (buffer_.isEmpty())
        return true;
    const bool written = writeThrough(buffer_);
    buffer_.resize(0);
    return written;
}

bool SafeFileWriter::fail(const QString& reason)
{
    errorString_ = reason;
    state_ = State::Failed;
    buffer_.clear();
    if (saveFile_.isOpen())
        saveFile_.cancelWriting();
    if (inPlaceFile_.isOpen())
        inPlaceFile_.close();
    return false;
}

bool SafeFileWriter::failWithErrno(int error)
{
    return fail(QString::fromLocal8Bit(std::strerror(error)));
}
