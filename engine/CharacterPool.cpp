#include "engine/CharacterPool.h"

#include "engine/RandomSource.h"

#include <stdexcept>

CharacterPool::CharacterPool(QByteArrayView characters) : characters_(characters.toByteArray())
{
    // An empty pool would divide by zero; a larger one would leave characters that no byte picks.
    if (characters_.isEmpty() || characters_.size() > 256)
        throw std::invalid_argument("a character pool holds 1 to 256 characters");
    const auto n = static_cast<unsigned>(characters_.size());
    acceptBelow_ = 256 - 256 % n;
    for (unsigned byte = 0; byte < byByte_.size(); ++byte)
        byByte_[byte] = characters_.at(byte % n);
}

bool CharacterPool::fill(char* out, qsizetype length, RandomSource& source) const
{
    // Held in registers: a store through `out` might otherwise change them, so every byte would read them anew
    // and wait for the store before it.
    const char* const byByte = byByte_.data();
    const unsigned acceptBelow = acceptBelow_;
    qsizetype filled = 0;
    while (filled < length) {
        // Never more bytes than positions left, so a scripted source sees exactly the draws made.
        const auto bytes = source.take(static_cast<std::size_t>(length - filled));
        if (bytes.empty())
            return false;
        // Without a branch: a dropped byte's character is written and then overwritten by the next one.
        for (const quint8 byte : bytes) {
            out[filled] = byByte[byte];
            filled += byte < acceptBelow ? 1 : 0;
        }
    }
    return true;
}
