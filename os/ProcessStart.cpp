#include "os/ProcessStart.h"

#include "os/FileDescriptor.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {
bool closedAtStart[3] = {};
} // namespace

void secureProcessStart()
{
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (::fcntl(descriptor, F_GETFD) >= 0 || errno != EBADF)
            continue;
        closedAtStart[descriptor] = true;
        // The lower numbers are open by now, so the lowest free one is this one.
        const int opened = ::open("/dev/null", (descriptor == 0 ? O_RDONLY : O_WRONLY) | O_NOCTTY);
        if (opened >= 0 && opened != descriptor) {
            const FileDescriptor spare(opened);
            ::dup2(spare.get(), descriptor);
        }
    }
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
    const rlimit noCore = {0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
}

bool wasClosedAtStart(int descriptor)
{
    return descriptor >= 0 && descriptor <= 2 && closedAtStart[descriptor];
}
