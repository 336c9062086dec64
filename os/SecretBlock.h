#pragma once

#include <cstddef>
#include <cstring>

// Memory for secrets: whole pages of their own, left out of core dumps, kept out of swap by a lock where
// RLIMIT_MEMLOCK allows one, wiped before they are given back.
class SecretBlock
{
public:
    explicit SecretBlock(std::size_t size);
    ~SecretBlock();
    SecretBlock(const SecretBlock&) = delete;
    SecretBlock& operator=(const SecretBlock&) = delete;

    unsigned char* data() const { return data_; }
    std::size_t size() const { return size_; }
    // Wiped in a way the compiler may not leave out, though nothing reads the bytes again; inline, since the
    // random block wipes a few bytes at a time, millions of times a run.
    void wipe(std::size_t offset, std::size_t count) const
    {
        std::memset(data_ + offset, 0, count);
        __asm__ __volatile__("" : : "r"(data_) : "memory");
    }

private:
    unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t mapped_ = 0;
};

// Leaves the whole pages inside [data, data + size) out of core dumps.
void excludeFromCoreDumps(const void* data, std::size_t size);
// As above, and every page the memory touches is locked out of swap where RLIMIT_MEMLOCK allows; past the
// limit it is used unlocked. Memory that goes back to the heap is released first: a lock would outlive it.
// Only the whole pages inside are unlocked then, since the pages at the ends may hold other locked memory.
void protectSecretMemory(const void* data, std::size_t size);
void releaseSecretMemory(const void* data, std::size_t size);
