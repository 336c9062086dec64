#pragma once

#include <QtGlobal>

#include <sys/resource.h>

// Cuts writes to files off at a few bytes for as long as it lives, as a full disk does, even for root.
class FileSizeLimit
{
    Q_DISABLE_COPY_MOVE(FileSizeLimit)

public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();

    // Whether the limit could be read and lowered.
    bool inForce() const { return inForce_; }

private:
    rlimit previous_ = {};
    bool readPrevious_ = false;
    bool inForce_ = false;
    void (*previousHandler_)(int) = nullptr;
};
