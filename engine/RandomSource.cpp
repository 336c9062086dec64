#include "engine/RandomSource.h"

#include <sys/random.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

quint32 SystemRandomSource::next32()
{
    if (next_ == buffer_.size())
        refill();
    return buffer_[next_++];
}

SystemRandomSource& SystemRandomSource::instance()
{
    static SystemRandomSource source;
    return source;
}

void SystemRandomSource::refill()
{
    auto* bytes = reinterpret_cast<unsigned char*>(buffer_.data());
    std::size_t wanted = sizeof(buffer_);
    std::size_t got = 0;
    while (got < wanted) {
        const ssize_t n = getrandom(bytes + got, wanted - got, 0);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            // Without a secure source no password may be made at all; a weaker fallback would be worse.
            std::perror("varnel: getrandom");
            std::abort();
        }
        got += static_cast<std::size_t>(n);
    }
    next_ = 0;
}

int RandomBelow(int n, RandomSource& source)
{
    Q_ASSERT(n > 0);
    const auto bound = static_cast<quint32>(n);
    // Values from the last incomplete run of n at the top of the 32-bit range would favour the small
    // results, so they are drawn again. The accepted values keep their remainder: r maps to r % n.
    const quint32 excess = (0u - bound) % bound;
    const quint32 acceptBelow = 0u - excess;
    for (;;) {
        const quint32 r = source.next32();
        if (excess == 0 || r < acceptBelow)
            return static_cast<int>(r % bound);
    }
}
