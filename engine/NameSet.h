#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

// Names, each with the number it came with (a line, a record), held compactly for runs that make a million
// accounts: the names back to back in one block, and an open-addressed table holding, for each, where it is
// and part of its hash, so that a probe seldom reads a name it does not match.
class NameSet
{
public:
    NameSet();

    // Adds the name with its number (1 or more) and gives 0, or, when the set holds the name already, gives
    // the number it came with.
    quint64 insert(QByteArrayView name, quint64 number);

private:
    struct Entry
    {
        quint64 offset : 44;
        quint64 size : 20;
        quint64 number;
    };

    QByteArrayView nameOf(const Entry& entry) const;
    void grow();

    QByteArray names_;
    std::vector<Entry> entries_;
    // 0 for an empty slot; else the high half of the hash, then the index of the entry plus 1.
    std::vector<quint64> slots_;
    std::size_t seed_;
};
