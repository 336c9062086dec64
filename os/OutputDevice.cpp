#include "os/OutputDevice.h"

#include "os/SafeFileWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <unistd.h>

OutputDevice::OutputDevice(SafeFileWriter& file) : file_(&file)
{
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

OutputDevice::OutputDevice(int descriptor) : descriptor_(descriptor)
{
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 OutputDevice::writeData(const char* data, qint64 size)
{
    if (file_) {
        if (file_->write(QByteArrayView(data, size)))
            return size;
        setErrorString(file_->errorString());
        failed_ = true;
        return -1;
    }
    for (qint64 done = 0; done < size;) {
        const ssize_t written = ::write(descriptor_, data + done, std::size_t(size - done));
        if (written < 0 && errno != EINTR) {
            readerWentAway_ = errno == EPIPE;
            failed_ = true;
            setErrorString(QString::fromLocal8Bit(std::strerror(errno)));
            return -1;
        }
        done += std::max<ssize_t>(written, 0);
    }
    return size;
}
