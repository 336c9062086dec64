#pragma once

#include "os/FileDescriptor.h"

#include <QIODevice>
#include <QString>

#include <functional>

// A file named on the command line, or standard input for "-", read as it is: each read returns whatever
// has arrived, so that lines coming down a pipe are taken as they come rather than once a whole chunk has
// gathered. Not open, with the reason as its error, when it cannot be read: a standard input that was
// closed at start (it reads /dev/null now, which is not what was named) or a named folder.
class InputDevice final : public QIODevice
{
    Q_DISABLE_COPY_MOVE(InputDevice)

public:
    explicit InputDevice(const QString& path);

    // The file's name, or "standard input".
    QString name() const { return name_; }
    bool isSequential() const override { return true; }
    // Called before each read of what may have to wait (a pipe, a terminal); never for a regular file.
    void setBeforeWaiting(std::function<void()> call);

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QString name_;
    FileDescriptor file_;
    // file_'s, or standard input, which is not ours to close.
    int descriptor_ = -1;
    bool waits_ = false;
    std::function<void()> beforeWaiting_;
};
