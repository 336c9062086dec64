#include "os/WorkingDirectoryGuard.h"

#include <cstdlib>

#include <fcntl.h>
#include <unistd.h>

WorkingDirectoryGuard::WorkingDirectoryGuard() : directory_(::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    if (char* path = ::getcwd(nullptr, 0)) {
        path_ = path;
        std::free(path);
    }
}

WorkingDirectoryGuard::~WorkingDirectoryGuard()
{
    if (directory_ && ::fchdir(directory_.get()) == 0)
        return;
    // A destructor has nobody to tell when this fails too.
    if (!path_.isEmpty() && ::chdir(path_.constData()) != 0)
        return;
}

bool WorkingDirectoryGuard::isValid() const
{
    return directory_ || !path_.isEmpty();
}
