#include "os/StreamRule.h"

#include <unistd.h>

const char* streamRefusal(const struct stat& stream)
{
    if (stream.st_uid == ::geteuid() || (S_ISCHR(stream.st_mode) && stream.st_uid == 0))
        return nullptr;
    if (S_ISFIFO(stream.st_mode))
        return "is a named pipe owned by another user";
    if (S_ISSOCK(stream.st_mode))
        return "is a socket owned by another user";
    return "is a device owned by another user";
}
