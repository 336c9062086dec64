#pragma once

#include "os/FileDescriptor.h"

#include <QByteArray>
#include <QString>

#include <sys/stat.h>

// A symbolic link is followed only when the running user owns it or its owner owns the folder that holds
// it, as the kernel's protected-symlinks rule has it, whatever the machine's setting: a link another user
// planted in a shared folder leads nowhere. Everything is done relative to an open descriptor of the
// folder, so a folder swapped for a link between two steps changes nothing.

// What resolveUnderLinkRule gives, in place of an errno value, for a link the rule does not follow.
constexpr int ForeignLink = -1;

// Walks the chain of links to the file named, one hop at a time, each under the rule, whatever it leads
// to. Gives the folder that holds the file and its name there; 0, an errno value, or ForeignLink. A link
// of /proc that leads to a stream the process holds open (the pipe or terminal that /dev/stdout leads to)
// ends the walk there, with `stream` set: /proc's links to pipes name no path to walk, so that stream is
// opened through the link, as the kernel finds it. The links in the folder part of the path are the
// kernel's to follow.
int resolveUnderLinkRule(const QByteArray& path, FileDescriptor& folder, QByteArray& name, struct stat& target,
                         bool& exists, bool& stream);

// Opens a file as resolveUnderLinkRule finds it, the file itself opened with O_NOFOLLOW added to the flags.
// Empty, with errno set (ELOOP for a link the rule does not follow), when it cannot be.
FileDescriptor openUnderLinkRule(const QString& path, int flags);
