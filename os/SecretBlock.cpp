#include "os/SecretBlock.h"

#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

#include <sys/mman.h>
#include <unistd.h>

SecretBlock::SecretBlock(std::size_t size) : size_(size)
{
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    mapped_ = (size + page - 1) / page * page;
    void* pages = ::mmap(nullptr, mapped_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pages == MAP_FAILED)
        throw std::bad_alloc();
    // Where the kernel does not know the advice, core dumps are still turned off at start.
    ::madvise(pages, mapped_, MADV_DONTDUMP);
    // Past RLIMIT_MEMLOCK the block is used unlocked: a run does not fail for want of a lock.
    ::mlock(pages, mapped_);
    data_ = static_cast<unsigned char*>(pages);
}

SecretBlock::~SecretBlock()
{
    explicit_bzero(data_, mapped_);
    ::munmap(data_, mapped_);
}

namespace {
std::pair<void*, std::size_t> wholePagesInside(const void* data, std::size_t size)
{
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + page - 1) / page * page;
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + size) / page * page;
    return {reinterpret_cast<void*>(begin), end > begin ? end - begin : 0};
}
} // namespace

void excludeFromCoreDumps(const void* data, std::size_t size)
{
    const auto [pages, length] = wholePagesInside(data, size);
    if (length > 0)
        ::madvise(pages, length, MADV_DONTDUMP);
}

void protectSecretMemory(const void* data, std::size_t size)
{
    excludeFromCoreDumps(data, size);
    ::mlock(data, size);
}

void releaseSecretMemory(const void* data, std::size_t size)
{
    const auto [pages, length] = wholePagesInside(data, size);
    if (length > 0)
        ::munlock(pages, length);
}
