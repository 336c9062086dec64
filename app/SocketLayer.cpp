#include "app/SocketLayer.h"

#include <sys/socket.h>
#include <unistd.h>

bool SystemSocketLayer::start()
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}
