#pragma once

#include "engine/RandomSource.h"

#include <QList>

#include <deque>
#include <limits>

// Random bytes given by the test, one draw each, then 0, 1, 2, ... 127 and round again once they run out; every
// draw is counted, so that a test can tell which character each value picked and how many draws the work took.
// No draw drops a byte below 128, so each of those later values makes exactly one character.
class ScriptedRandomSource final : public RandomSource
{
public:
    explicit ScriptedRandomSource(const QList<quint32>& script = {});

    // One byte per call, so that what a test scripts next is what the next draw gets.
    std::span<const quint8> take(std::size_t wanted) override;
    QString errorString() const override;

    // Values below 256.
    std::deque<quint32> values;
    quint64 drawn = 0;
    // From this many draws on the source has no bytes, as when the system denies them, for this reason.
    quint64 failAfter = std::numeric_limits<quint64>::max();
    QString failure = QStringLiteral("Function not implemented");

private:
    quint8 byte_ = 0;
    quint8 counter_ = 0;
};
