#include "engine/CharacterPool.h"

#include <algorithm>
#include <stdexcept>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

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

bool CharacterPool::fillEach(char* out, qsizetype length, RandomSource& source) const
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

#if defined(__x86_64__)

const bool CharacterPool::drawsWide_ = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw")
        && __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512vbmi2")
        && __builtin_cpu_supports("bmi2") && __builtin_cpu_supports("popcnt");
}();

// Up to 64 bytes at once: each byte's character looked up in the table, the dropped ones squeezed out, and what
// was not needed given back. The bytes a password takes are the same as one at a time would take, but no branch
// depends on how many were dropped: a branch that did would guess wrong for two passwords in five (of 62
// characters and 16 long), and each wrong guess costs more than the whole draw. Enough bytes are asked for to
// make up for the drops expected and then some, so that a second round is rare.
__attribute__((target("avx512f,avx512bw,avx512vbmi,avx512vbmi2,bmi,bmi2,popcnt"))) bool
CharacterPool::fillWide(char* out, qsizetype length, RandomSource& source) const
{
    constexpr std::size_t Window = 64;
    // The table is read in each round rather than held in registers, which the take would have to save.
    const char* const table = byByte_.data();
    const unsigned acceptBelow = acceptBelow_;
    const std::size_t droppedOf256 = 256 - acceptBelow;
    qsizetype filled = 0;
    while (filled < length) {
        const auto needed = static_cast<std::size_t>(length - filled);
        const std::size_t spare = droppedOf256 == 0 ? 0 : needed * droppedOf256 * 3 / 512 + 3;
        const auto bytes = source.take(std::min(needed + spare, Window));
        if (bytes.empty())
            return false;
        const __mmask64 taken = _bzhi_u64(~0ULL, static_cast<unsigned>(bytes.size()));
        const __m512i values = _mm512_maskz_loadu_epi8(taken, bytes.data());
        const __mmask64 kept = droppedOf256 == 0
            ? taken
            : _mm512_mask_cmplt_epu8_mask(taken, values, _mm512_set1_epi8(static_cast<char>(acceptBelow)));
        // Bytes below 128 look in the first half of the table, the others in the second.
        const __m512i low = _mm512_permutex2var_epi8(_mm512_loadu_si512(table), values, _mm512_loadu_si512(table + 64));
        const __m512i high =
            _mm512_permutex2var_epi8(_mm512_loadu_si512(table + 128), values, _mm512_loadu_si512(table + 192));
        const __m512i characters = _mm512_mask_blend_epi8(_mm512_movepi8_mask(values), low, high);
        const __m512i packed = _mm512_maskz_compress_epi8(kept, characters);
        const std::size_t put = std::min(static_cast<std::size_t>(_mm_popcnt_u64(kept)), needed);
        _mm512_mask_storeu_epi8(out + filled, _bzhi_u64(~0ULL, static_cast<unsigned>(put)), packed);
        filled += static_cast<qsizetype>(put);
        if (put == needed) {
            // The byte that gave the last character is the needed-th kept one; those after it go back.
            const auto used = static_cast<std::size_t>(_tzcnt_u64(_pdep_u64(1ULL << (needed - 1), kept))) + 1;
            if (used < bytes.size())
                source.giveBack(bytes.size() - used);
        }
    }
    return true;
}

#endif
