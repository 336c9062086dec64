#include "engine/RulesCount.h"

#include <cmath>

namespace {

// The run lengths the states tell apart: 1 to maxConsecutive, or just one when any run is allowed.
qint32 runsOf(qint32 length, qint32 maxConsecutive)
{
    return maxConsecutive > 0 && maxConsecutive < length ? maxConsecutive : 1;
}

} // namespace

qint64 countingStates(std::size_t groups, int requirementCount, qint32 length, qint32 maxConsecutive)
{
    return (qint64(1) << requirementCount) * qint64(groups) * runsOf(length, maxConsecutive);
}

double log2CountOfTexts(const std::vector<CharacterGroup>& groups, int requirementCount, qint32 length,
                        qint32 maxConsecutive)
{
    if (length <= 0)
        return requirementCount == 0 ? 0 : -HUGE_VAL;
    const bool runsLimited = maxConsecutive > 0 && maxConsecutive < length;
    const std::size_t runs = std::size_t(runsOf(length, maxConsecutive));
    const std::size_t groupCount = groups.size();
    const std::size_t masks = std::size_t(1) << requirementCount;
    const auto at = [&](std::size_t mask, std::size_t group, std::size_t run) {
        return (mask * groupCount + group) * runs + run;
    };
    std::vector<long double> states(masks * groupCount * runs, 0);
    std::vector<long double> next(states.size());
    std::vector<long double> endingIn(groupCount);
    std::vector<long double> before(groupCount + 1);
    std::vector<long double> after(groupCount + 1);
    long double log2Scale = 0;

    const auto rescale = [&](std::vector<long double>& values) {
        long double sum = 0;
        for (const long double value : values)
            sum += value;
        if (sum <= 0)
            return false;
        for (long double& value : values)
            value /= sum;
        log2Scale += std::log2(sum);
        return true;
    };

    for (std::size_t g = 0; g < groupCount; ++g)
        states[at(groups[g].requirements, g, 0)] += groups[g].size;
    if (!rescale(states))
        return -HUGE_VAL;
    for (qint32 position = 1; position < length; ++position) {
        std::fill(next.begin(), next.end(), 0);
        for (std::size_t mask = 0; mask < masks; ++mask) {
            for (std::size_t g = 0; g < groupCount; ++g) {
                endingIn[g] = 0;
                for (std::size_t run = 0; run < runs; ++run)
                    endingIn[g] += states[at(mask, g, run)];
                // The same character once more: the run grows, or stays one state when runs are not limited.
                for (std::size_t run = 0; run < runs; ++run) {
                    if (!runsLimited)
                        next[at(mask, g, 0)] += states[at(mask, g, run)];
                    else if (run + 1 < runs)
                        next[at(mask, g, run + 1)] += states[at(mask, g, run)];
                }
            }
            before[0] = 0;
            for (std::size_t g = 0; g < groupCount; ++g)
                before[g + 1] = before[g] + endingIn[g];
            after[groupCount] = 0;
            for (std::size_t g = groupCount; g-- > 0;)
                after[g] = after[g + 1] + endingIn[g];
            // Any character of another group, or another character of the same one: a new run.
            for (std::size_t g = 0; g < groupCount; ++g) {
                const long double others = before[g] + after[g + 1];
                const long double size = groups[g].size;
                next[at(mask | groups[g].requirements, g, 0)] += others * size + endingIn[g] * (size - 1);
            }
        }
        states.swap(next);
        if (!rescale(states))
            return -HUGE_VAL;
    }
    long double met = 0;
    for (std::size_t g = 0; g < groupCount; ++g) {
        for (std::size_t run = 0; run < runs; ++run)
            met += states[at(masks - 1, g, run)];
    }
    return met > 0 ? double(log2Scale + std::log2(met)) : -HUGE_VAL;
}
