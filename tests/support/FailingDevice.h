#pragma once

#include <QByteArray>
#include <QIODevice>

// Hands out its bytes, then fails the way a disk does in the middle of a file.
class FailingDevice final : public QIODevice
{
public:
    explicit FailingDevice(QByteArray bytes);

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray bytes_;
};
