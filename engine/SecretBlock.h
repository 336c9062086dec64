#pragma once

#include <cstddef>

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
    // Wiped in a way the compiler may not leave out, though nothing reads the bytes again.
    void wipe(std::size_t offset, std::size_t count) const;

private:
    unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t mapped_ = 0;
};

// Leaves the whole pages inside [data, data + size) out of core dumps.
void excludeFromCoreDumps(const void* data, std::size_t size);
