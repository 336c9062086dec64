#pragma once

#include "os/FileDescriptor.h"

#include <QString>

// A file of the running user's own, opened for reading, non-blocking, as SafeFileWriter's link rule finds
// it: closed when the name is missing or names anything else, such as a pipe or a device (which could
// block the reader or never end), another user's file, or a file reached through a link another user
// planted in a shared folder.
FileDescriptor openOwnRegularFile(const QString& path);
inline bool isOwnRegularFile(const QString& path)
{
    return openOwnRegularFile(path).isOpen();
}
