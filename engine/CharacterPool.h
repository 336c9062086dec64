#pragma once

#include "engine/RandomSource.h"

#include <QByteArray>
#include <QByteArrayView>

#include <array>

// The characters a text is drawn from, and the draw itself: one random byte per character, every character
// exactly equally likely. With n characters, a byte b below 256 - 256 % n picks character b % n; a byte at or
// above that limit would favour the first characters, so it is dropped and the next byte tried instead.
class CharacterPool
{
public:
    // From 1 to 256 characters, in the order that the bytes pick them; any other count throws
    // std::invalid_argument.
    explicit CharacterPool(QByteArrayView characters);

    QByteArrayView characters() const { return characters_; }

    // Fills out[0], out[1], ... out[length - 1] in that order. False when the source has no more secure
    // bytes, leaving the text unfinished. Inline, since a run makes millions of texts.
    bool fill(char* out, qsizetype length, RandomSource& source) const
    {
#if defined(__x86_64__)
        if (drawsWide_ && source.takesBack())
            return fillWide(out, length, source);
#endif
        return fillEach(out, length, source);
    }

private:
    bool fillEach(char* out, qsizetype length, RandomSource& source) const;
#if defined(__x86_64__)
    // Whether this processor draws a text's bytes all at once (AVX-512 with its byte permutes and compress).
    // False until it has been asked, which any draw before main() finds: those go byte by byte.
    static const bool drawsWide_;
    bool fillWide(char* out, qsizetype length, RandomSource& source) const;
#endif

    QByteArray characters_;
    std::array<char, 256> byByte_{};
    unsigned acceptBelow_ = 0;
};
