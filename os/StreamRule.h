#pragma once

#include <sys/stat.h>

// Whether a file that is no regular file (a named pipe, a socket, a device) may take what is written: only
// when it is the running user's own, or a character device of root's. Whoever made a named pipe may read
// what goes in, and anyone may make one, or a socket, in a folder they may write to; only root can make a
// device, so one of root's is the system's own (/dev/null, /dev/tty, /dev/zero), and a terminal is given
// to the user logged in on it (/dev/pts/N), so another user's is theirs.
//
// Null when the file may be written; else why not, to follow the file's name in a message.
const char* streamRefusal(const struct stat& stream);
