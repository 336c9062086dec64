#pragma once

#include "os/SecretBlock.h"

#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <span>

// Where random bytes come from. Production reads the kernel's CSPRNG; tests script the bytes.
class RandomSource
{
public:
    virtual ~RandomSource() = default;

    // Fresh random bytes, every value equally likely and independent of all others: at least one and at most
    // `wanted` (which must be positive), valid until the next call. Empty when no secure bytes can be had;
    // errorString() then tells why. Nothing weaker is ever handed out instead.
    virtual std::span<const quint8> take(std::size_t wanted) = 0;
    virtual QString errorString() const = 0;
};

// The operating system's cryptographically secure generator (getrandom), read in large blocks so that a
// million passwords cost a few hundred system calls. No seed, no dependence on the clock. Bytes handed out
// are wiped at the next call, so the block never holds what passwords were made of.
class SystemRandomSource final : public RandomSource
{
public:
    SystemRandomSource();

    std::span<const quint8> take(std::size_t wanted) override;
    QString errorString() const override;

    static SystemRandomSource& instance();

private:
    bool refill();

    SecretBlock block_;
    std::size_t handedOut_;
    std::size_t next_;
    QString errorString_;
};
