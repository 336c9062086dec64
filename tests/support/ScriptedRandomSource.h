#pragma once

#include "engine/RandomSource.h"

#include <QList>

#include <deque>

// Random values given by the test, then 0, 1, 2, ... once they run out; every draw is counted, so that a test can
// tell which character each value picked and how many values the work took.
class ScriptedRandomSource final : public RandomSource
{
public:
    explicit ScriptedRandomSource(const QList<quint32>& script = {});

    quint32 next32() override;

    std::deque<quint32> values;
    quint64 drawn = 0;

private:
    quint32 counter_ = 0;
};
