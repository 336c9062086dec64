#pragma once

#include <cstddef>
#include <cstring>

// Memory for secrets: whole pages of their own, left out of core dumps, wiped before they are given back.
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
