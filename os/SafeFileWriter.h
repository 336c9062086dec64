#pragma once

#include "os/FileDescriptor.h"
#include "os/SecretBlock.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFileDevice>
#include <QString>

#include <sys/types.h>

// Writes a whole file so that a failed save never destroys the file that was there: the bytes go to a
// temporary file, born readable by its owner only, that takes the target's name only once everything,
// its sync to the disk included, succeeded. A target that exists but is no regular file (a device, a
// fifo) is written in place instead, since replacing it would turn it into a regular file, and only when
// the rule of os/StreamRule.h allows it (the user's own, or a device of root's); so is a
// writable file of the user's own in a folder that refuses new files, which would otherwise stop being
// writable at all. Any other failure to make the temporary file (a full disk, a quota) is a failure.
//
// The folder may be shared with other users: everything is done relative to an open descriptor of it, and
// a symbolic link is followed only when the running user owns it or its owner owns the folder that holds
// it (the link rule of os/LinkRule.h).
//
// A caller that must never leave a half-written file behind refuses the in-place fallback; the write then
// fails as no temporary file could be made. A caller that must not replace a file refuses an existing
// target; that is decided at the very moment the file takes its name, so a file that appears during the
// run is not replaced either.
//
// The file ends owned by the running user with no permission for group or others: a new file gets the
// owner's part of the permissions given, less what the umask forbids; a replaced file keeps its owner's.
// The first failure sticks: later calls do nothing and return false, and errorString() tells why.
class SafeFileWriter
{
    Q_DISABLE_COPY_MOVE(SafeFileWriter)

public:
    enum class InPlaceFallback { Allowed, Refused };
    enum class Existing { Replace, Refuse };

    SafeFileWriter(const QString& path, QFileDevice::Permissions newFilePermissions,
                   InPlaceFallback inPlaceFallback = InPlaceFallback::Allowed, Existing existing = Existing::Replace);
    // Without a successful commit(), a replaced file stays as it was and no temporary file remains.
    ~SafeFileWriter();

    // write() and commit() open the file when needed; calling this first finds a bad target early.
    bool open();
    bool write(QByteArrayView data);
    // Gets everything written so far onto the disk, so that commit() has only to give the file its name: a
    // program that writes several files syncs them all before any of them takes its place.
    bool sync();
    bool commit();
    // Whether the target existed when the file was opened, so that committing replaces it (or, for a
    // stream, has written in place).
    bool replacesTarget() const { return replacesTarget_; }
    // Takes a committed file back again when it was new: removes its name, as long as the name still holds
    // this very file. A file that took the place of one there at the start, or was written in place, stays:
    // what it replaced cannot be given back.
    void withdraw();

    bool hasError() const;
    QString errorString() const;
    // Whether the failure was an existing target that Existing::Refuse kept.
    bool targetExists() const;

    // SIGINT, SIGTERM and SIGHUP then remove the named temporary files of every writer alive, and the
    // process ends by the same signal. For programs whose runs take long enough to be interrupted.
    static void removeTemporaryFilesOnSignals();

private:
    enum class State { Closed, Open, Committed, Failed };

    bool resolveTarget(struct stat& target, bool& exists);
    bool makeTemporaryFile(bool targetExists, mode_t targetMode);
    bool openInPlace(int followFlags, const struct stat& expected);
    bool linkIntoPlace();
    bool writeThrough(const char* data, qsizetype size);
    bool flushBuffer();
    bool fail(const QString& reason);
    bool failWithErrno(int error);
    void discard();

    QString path_;
    QFileDevice::Permissions newFilePermissions_;
    InPlaceFallback inPlaceFallback_;
    Existing existing_;
    FileDescriptor folder_;
    bool folderCanSync_ = false;
    // The target is a stream that a link of /proc leads to (/dev/stdout's pipe), opened through that link.
    bool stream_ = false;
    QByteArray name_;
    FileDescriptor file_;
    // Empty for an unnamed (O_TMPFILE) temporary file and for writing in place.
    QByteArray temporaryName_;
    int signalSlot_ = -1;
    bool inPlace_ = false;
    bool inPlaceIsRegular_ = false;
    SecretBlock buffer_;
    qsizetype buffered_ = 0;
    State state_ = State::Closed;
    bool targetExists_ = false;
    bool replacesTarget_ = false;
    bool synced_ = false;
    bool linked_ = false;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    QString errorString_;
};
