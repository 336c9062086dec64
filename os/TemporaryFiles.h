#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <csignal>

// The named temporary files alive in this process, so that SIGINT, SIGTERM and SIGHUP can remove them
// before the process ends. A file is named by the folder that holds it, an open descriptor its owner keeps
// open for as long as the file is registered, and its name there.

// The slot that now names the file, or -1 when none is free or the name is too long; a signal then leaves
// that file behind.
int registerTemporaryFile(int folder, const QByteArray& name);
// Does nothing for -1.
void unregisterTemporaryFile(int slot);

// SIGINT, SIGTERM and SIGHUP then remove the registered files, and the process ends by the same signal.
void removeTemporaryFilesOnSignals();

// A name for a temporary file beside the target: hidden, and unlikely to be taken.
QByteArray temporaryNameFor(const QByteArray& target);

// Holds the cleanup signals back while a named temporary file comes and goes, so that the file is never
// on the disk without a slot that names it.
class CleanupSignalHold
{
    Q_DISABLE_COPY_MOVE(CleanupSignalHold)

public:
    CleanupSignalHold();
    ~CleanupSignalHold();

private:
    sigset_t previousMask_;
};
