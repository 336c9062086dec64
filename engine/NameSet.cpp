#include "engine/NameSet.h"

#include <QHashFunctions>

#include <algorithm>

namespace {

quint64 slotOf(quint64 hash, std::size_t index)
{
    return (hash >> 32) << 32 | (quint64(index) + 1);
}

} // namespace

NameSet::NameSet() : seed_(QHashSeed::globalSeed()) { }

quint64 NameSet::insert(QByteArrayView name, quint64 number)
{
    // At most half full, so that probes stay short.
    if (2 * (entries_.size() + 1) > slots_.size())
        grow();
    const quint64 hash = qHash(name, seed_);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const quint64 slot = slots_[i];
        if (slot == 0) {
            slots_[i] = slotOf(hash, entries_.size());
            entries_.push_back({quint64(names_.size()), quint64(name.size()), number});
            names_.append(name);
            return 0;
        }
        if (slot >> 32 == hash >> 32) {
            const Entry& entry = entries_[quint32(slot) - 1];
            if (nameOf(entry) == name)
                return entry.number;
        }
    }
}

QByteArrayView NameSet::nameOf(const Entry& entry) const
{
    return QByteArrayView(names_).sliced(qsizetype(entry.offset), qsizetype(entry.size));
}

void NameSet::grow()
{
    slots_.assign(std::max<std::size_t>(16, 2 * slots_.size()), 0);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t index = 0; index < entries_.size(); ++index) {
        const quint64 hash = qHash(nameOf(entries_[index]), seed_);
        std::size_t i = hash & mask;
        while (slots_[i] != 0)
            i = (i + 1) & mask;
        slots_[i] = slotOf(hash, index);
    }
}
