#include "FailingDevice.h"

#include <algorithm>
#include <cstring>

FailingDevice::FailingDevice(QByteArray bytes) : bytes_(std::move(bytes))
{
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 FailingDevice::readData(char* data, qint64 maxSize)
{
    if (bytes_.isEmpty()) {
        setErrorString(QStringLiteral("Input/output error"));
        return -1;
    }
    const qint64 size = std::min<qint64>(maxSize, bytes_.size());
    std::memcpy(data, bytes_.constData(), static_cast<size_t>(size));
    bytes_.remove(0, size);
    return size;
}
