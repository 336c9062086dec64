#include "engine/RandomSource.h"

#include <sys/random.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {
constexpr std::size_t BlockSize = 64 * 1024;
} // namespace

SystemRandomSource::SystemRandomSource() : block_(BlockSize), handedOut_(BlockSize), next_(BlockSize) { }

std::span<const quint8> SystemRandomSource::take(std::size_t wanted)
{
    block_.wipe(handedOut_, next_ - handedOut_);
    handedOut_ = next_;
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
    std::size_t got = 0;
    while (got < block_.size()) {
        const ssize_t n = getrandom(block_.data() + got, block_.size() - got, 0);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            errorString_ = QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        got += static_cast<std::size_t>(n);
    }
    handedOut_ = 0;
    next_ = 0;
    return true;
}
