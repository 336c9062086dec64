#include "os/SecretBlock.h"

#include <cstdint>
#include <cstring>
#include <new>

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
    data_ = static_cast<unsigned char*>(pages);
}

SecretBlock::~SecretBlock()
{
    explicit_bzero(data_, mapped_);
    ::munmap(data_, mapped_);
}

void excludeFromCoreDumps(const void* data, std::size_t size)
{
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + page - 1) / page * page;
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + size) / page * page;
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTDUMP);
}
