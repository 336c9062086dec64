#include "os/InputDevice.h"

#include "os/NativeFileName.h"
#include "os/ProcessStart.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString reasonOf(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}
} // namespace

InputDevice::InputDevice(const QString& path)
{
    const bool standardInput = path == QLatin1String("-");
    name_ = standardInput ? QStringLiteral("standard input") : path;
    if (standardInput)
        descriptor_ = STDIN_FILENO;
    else {
        file_.reset(::open(nativeFileName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
        descriptor_ = file_.get();
    }
    struct stat status = {};
    if (standardInput && wasClosedAtStart(STDIN_FILENO))
        setErrorString(reasonOf(EBADF));
    else if (descriptor_ < 0 || ::fstat(descriptor_, &status) != 0)
        setErrorString(reasonOf(errno));
    // Standard input may be a folder too; reading it then fails with the same reason.
    else if (S_ISDIR(status.st_mode) && !standardInput)
        setErrorString(reasonOf(EISDIR));
    else
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    waits_ = !S_ISREG(status.st_mode);
}

void InputDevice::setBeforeWaiting(std::function<void()> call)
{
    if (waits_)
        beforeWaiting_ = std::move(call);
}

qint64 InputDevice::readData(char* data, qint64 maxSize)
{
    if (beforeWaiting_)
        beforeWaiting_();
    for (;;) {
        const ssize_t got = ::read(descriptor_, data, std::size_t(maxSize));
        if (got >= 0)
            return got;
        if (errno != EINTR) {
            setErrorString(reasonOf(errno));
            return -1;
        }
    }
}
