#pragma once

#include <unistd.h>

#include <utility>

// Owns one open file descriptor and closes it when it goes, so that no error path has to remember to.
// release() hands the descriptor on (it is no longer closed here); close() closes it now and says whether
// the kernel took the close well, for the writers whose data is only safe once close succeeded.
class FileDescriptor
{
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) { }
    ~FileDescriptor() { reset(); }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) { }
    FileDescriptor& operator=(FileDescriptor&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool isOpen() const { return fd_ >= 0; }
    explicit operator bool() const { return isOpen(); }

    [[nodiscard]] int release() { return std::exchange(fd_, -1); }
    void reset(int fd = -1)
    {
        const int old = std::exchange(fd_, fd);
        if (old >= 0)
            ::close(old);
    }
    // 0, or -1 with errno set by close(2). The descriptor is gone either way, as close(2) leaves it on Linux.
    int close()
    {
        const int old = release();
        return old >= 0 ? ::close(old) : 0;
    }

private:
    int fd_ = -1;
};
