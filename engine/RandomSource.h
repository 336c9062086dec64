#pragma once

#include "os/SecretBlock.h"

#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <span>

// Where random bytes come from. Production expands keys from the kernel's CSPRNG; tests script the bytes.
class RandomSource
{
public:
    virtual ~RandomSource() = default;

    // Fresh random bytes, every value equally likely and independent of all others: at least one and at most
    // `wanted` (which must be positive), valid until the next call. Empty when no secure bytes can be had;
    // errorString() then tells why. Nothing weaker is ever handed out instead.
    virtual std::span<const quint8> take(std::size_t wanted) = 0;
    virtual QString errorString() const = 0;

    // Whether the source takes back bytes it handed out: a draw that drops some bytes, and so cannot tell how
    // many it needs, may then take a few more than it is sure to need and give back those it did not use,
    // rather than guess after every password whether to come back for more (which costs most when wrong).
    bool takesBack() const { return takesBack_; }
    // The last `count` bytes of the last take go back unused, and the next take hands them out first. Only for
    // a source that takes back. No call: a draw gives back once a password.
    void giveBack(std::size_t count) { givenBack_ = count; }

protected:
    RandomSource() = default;
    explicit RandomSource(bool takesBack) : takesBack_(takesBack) { }

    // What the last take's reader gave back; the source hands these out again and sets this to 0.
    std::size_t givenBack_ = 0;

private:
    bool takesBack_ = false;
};

// ChaCha20 (libsodium's) keyed from the operating system's secure generator (getrandom), in blocks, so that a
// million passwords cost a few system calls and no more than the kernel's own generator would cost. The first
// bytes of each block become the key of the next and the old key is gone, so nothing left in memory tells
// earlier blocks; every megabyte the kernel gives a new key. Key and block share the secret memory, and bytes
// handed out are wiped at the next call, but for those given back, which it hands out again. A forked child
// never goes on with its parent's stream: it takes a key of its own at its first call. No dependence on the
// clock.
class SystemRandomSource final : public RandomSource
{
public:
    SystemRandomSource();

    std::span<const quint8> take(std::size_t wanted) override;
    QString errorString() const override;

    static SystemRandomSource& instance();

private:
    bool refill();
    bool seed();

    SecretBlock block_;
    std::size_t handedOut_;
    std::size_t next_;
    unsigned blocksBeforeSeed_ = 0;
    unsigned forksSeen_;
    QString errorString_;
};
