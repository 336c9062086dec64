#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QSaveFile>
#include <QString>

// Writes a whole file so that a failed save never destroys the file that was there: the bytes go to a
// temporary file that replaces the target only once everything, the last flush included, succeeded.
// A target that exists but is no regular file (a device, a fifo) is written in place instead, since
// replacing it would turn it into a regular file; so is a writable file in a folder where no temporary
// file can be made, which would otherwise stop being writable at all.
//
// A caller that must never leave a half-written file behind refuses that in-place fallback; the write then
// fails as no temporary file could be made.
//
// A new file gets the permissions given, less what the umask forbids; a replaced file keeps its own.
// The first failure sticks: later calls do nothing and return false, and errorString() tells why.
class SafeFileWriter
{
    Q_DISABLE_COPY_MOVE(SafeFileWriter)

public:
    enum class InPlaceFallback { Allowed, Refused };

    SafeFileWriter(const QString& path, QFileDevice::Permissions newFilePermissions,
                   InPlaceFallback inPlaceFallback = InPlaceFallback::Allowed);
    // Without a successful commit(), a replaced file stays as it was and no temporary file remains.
    ~SafeFileWriter();

    // write() and commit() open the file when needed; calling this first finds a bad target early.
    bool open();
    bool write(QByteArrayView data);
    bool commit();

    bool hasError() const;
    QString errorString() const;

private:
    enum class State { Closed, Open, Committed, Failed };

    bool openInPlace(const QByteArray& nativePath, int extraFlags);
    bool writeThrough(QByteArrayView data);
    bool flushBuffer();
    bool fail(const QString& reason);
    bool failWithErrno(int error);

    QString path_;
    QFileDevice::Permissions newFilePermissions_;
    InPlaceFallback inPlaceFallback_;
    QSaveFile saveFile_;
    QFile inPlaceFile_;
    QFileDevice* device_ = nullptr;
    bool inPlaceIsRegular_ = false;
    QByteArray buffer_;
    State state_ = State::Closed;
    QString errorString_;
};
