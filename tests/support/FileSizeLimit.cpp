#include "FileSizeLimit.h"

#include <csignal>

FileSizeLimit::FileSizeLimit(rlim_t bytes)
{
    readPrevious_ = ::getrlimit(RLIMIT_FSIZE, &previous_) == 0;
    // A write past the limit then fails with EFBIG instead of ending the process.
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    if (!readPrevious_)
        return;
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    inForce_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

FileSizeLimit::~FileSizeLimit()
{
    if (readPrevious_)
        ::setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
}
