#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sys/stat.h>
#include <sys/types.h>

// The path as the system calls (chmod, mkfifo, stat) take it.
QByteArray nativePath(const QString& path);
// The bytes a file holds, or "<unreadable>", so that a file that is missing never passes for an empty one.
QByteArray contentOf(const QString& path);
// A file of exactly these bytes and this mode, whatever the umask; the test fails where it cannot be made.
void createFile(const QString& path, const QByteArray& bytes, mode_t mode = 0644);
// The status of the file itself, not of a link's target; its mode is 0 when there is no such file.
struct stat statusOf(const QString& path);
// The permission bits of the file itself, 0 when there is no such file.
mode_t permissionsOf(const QString& path);
// Every entry of a folder, hidden ones included, sorted by name: what a failed write may have left behind.
QStringList entriesOf(const QString& folder);
// Root passes every permission check, so tests of refused access skip for it.
bool runningAsRoot();
