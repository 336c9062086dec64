#include "engine/RandomSource.h"

#include <pthread.h>
#include <sodium.h>
#include <sys/random.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <new>

namespace {

// The block holds the key, then what the key expands to; the first KeySize bytes of that become the next key.
constexpr std::size_t KeySize = crypto_stream_chacha20_ietf_KEYBYTES;
constexpr std::size_t BlockSize = 64 * 1024;
constexpr std::size_t FirstHandedOut = 2 * KeySize;
constexpr unsigned BlocksPerSeed = 16;
constexpr std::size_t Tail = 32;
static_assert(FirstHandedOut >= KeySize + Tail, "a wipe of the last Tail bytes handed out never reaches the key");
// Every key expands once only, so one nonce serves them all.
constexpr unsigned char Nonce[crypto_stream_chacha20_ietf_NONCEBYTES] = {};

std::atomic<unsigned> forks{0};

void countFork()
{
    forks.fetch_add(1, std::memory_order_relaxed);
}

} // namespace

SystemRandomSource::SystemRandomSource()
    : RandomSource(true)
    , block_(BlockSize)
    , handedOut_(BlockSize)
    , next_(BlockSize)
    , forksSeen_(forks.load(std::memory_order_relaxed))
{
    [[maybe_unused]] static const int counting = [] {
        if (pthread_atfork(nullptr, nullptr, countFork) != 0)
            throw std::bad_alloc();
        return 0;
    }();
}

std::span<const quint8> SystemRandomSource::take(std::size_t wanted)
{
    next_ -= givenBack_;
    givenBack_ = 0;
    // A password's bytes are wiped as the Tail bytes that end with them: a wipe of one size is a few stores, with
    // no call and no guess at its size. The bytes before them are zero already (handed out before, or the
    // block's wiped start).
    const std::size_t handedOut = next_ - handedOut_;
    if (handedOut <= Tail)
        block_.wipe(next_ - Tail, Tail);
    else
        block_.wipe(handedOut_, handedOut);
    handedOut_ = next_;
    const unsigned forksNow = forks.load(std::memory_order_relaxed);
    if (forksSeen_ != forksNow) {
        // A child: the key and what is left of the block are its parent's to use.
        forksSeen_ = forksNow;
        block_.wipe(0, block_.size());
        handedOut_ = next_ = block_.size();
        blocksBeforeSeed_ = 0;
    }
    if (next_ == block_.size() && !refill())
        return {};
    const std::size_t count = std::min(wanted, block_.size() - next_);
    const std::span<const quint8> bytes(block_.data() + next_, count);
    next_ += count;
    return bytes;
}

QString SystemRandomSource::errorString() const
{
    return errorString_;
}

SystemRandomSource& SystemRandomSource::instance()
{
    static SystemRandomSource source;
    return source;
}

bool SystemRandomSource::refill()
{
    if (blocksBeforeSeed_ == 0) {
        if (!seed())
            return false;
        blocksBeforeSeed_ = BlocksPerSeed;
    }
    --blocksBeforeSeed_;
    unsigned char* key = block_.data();
    crypto_stream_chacha20_ietf(key + KeySize, block_.size() - KeySize, Nonce, key);
    std::memcpy(key, key + KeySize, KeySize);
    block_.wipe(KeySize, KeySize);
    handedOut_ = FirstHandedOut;
    next_ = FirstHandedOut;
    return true;
}

bool SystemRandomSource::seed()
{
    std::size_t got = 0;
    while (got < KeySize) {
        const ssize_t n = getrandom(block_.data() + got, KeySize - got, 0);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            errorString_ = QString::fromLocal8Bit(std::strerror(errno));
            block_.wipe(0, KeySize);
            return false;
        }
        got += static_cast<std::size_t>(n);
    }
    // Picks the fastest ChaCha20 for this processor. Only after the kernel has given a key: where it has no
    // secure generator, libsodium would end the program instead of letting the user be told why.
    [[maybe_unused]] static const int started = sodium_init();
    return true;
}
