#include "engine/UniformIndex.h"

#include "engine/RandomSource.h"

#include <algorithm>

UniformIndex::UniformIndex(quint32 bound) : bound_(std::max<quint32>(bound, 1))
{
    quint64 range = 1;
    while (range < bound_) {
        range <<= 8;
        ++bytes_;
    }
    acceptBelow_ = range - range % bound_;
}

bool UniformIndex::draw(RandomSource& source, quint32& index) const
{
    for (;;) {
        quint64 value = 0;
        qsizetype read = 0;
        while (read < bytes_) {
            const auto bytes = source.take(static_cast<std::size_t>(bytes_ - read));
            if (bytes.empty())
                return false;
            for (const quint8 byte : bytes)
                value = value << 8 | byte;
            read += static_cast<qsizetype>(bytes.size());
        }
        if (value < acceptBelow_) {
            index = static_cast<quint32>(value % bound_);
            return true;
        }
    }
}
