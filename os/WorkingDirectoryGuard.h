#pragma once

#include "os/FileDescriptor.h"

#include <QByteArray>
#include <QtGlobal>

// Remembers the working directory and goes back to it when the guard goes out of scope, however the
// scope is left. The directory is held open, so it is found again even if it was renamed meanwhile;
// its path serves when it could not be opened.
class WorkingDirectoryGuard
{
    Q_DISABLE_COPY_MOVE(WorkingDirectoryGuard)

public:
    WorkingDirectoryGuard();
    ~WorkingDirectoryGuard();

    // False when neither the directory nor its path could be taken; nothing is restored then.
    bool isValid() const;

private:
    FileDescriptor directory_;
    QByteArray path_;
};
