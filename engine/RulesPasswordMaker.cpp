#include "engine/RulesPasswordMaker.h"

#include "engine/RulesCount.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace {

constexpr std::size_t MostRequirements = 16;
// A count of more states or work than this would keep a user waiting for nothing he could want.
constexpr qint64 MostStates = 1'000'000;
constexpr qint64 MostCountingWork = 100'000'000;

QByteArray without(QByteArray characters, const QByteArray& exclude)
{
    characters.removeIf([&exclude](char c) { return exclude.contains(c); });
    return characters;
}

bool holdsAll(const QByteArray& set, const QByteArray& subset)
{
    return std::all_of(subset.begin(), subset.end(), [&set](char c) { return set.contains(c); });
}

// The requirements that count: each set once, and none that another required set or every password meets
// already, so that the rules' usual classes stay a handful of states.
std::vector<QByteArray> distinctRequirements(const std::vector<QByteArray>& sets, const QByteArray& characters)
{
    std::vector<QByteArray> kept;
    for (std::size_t i = 0; i < sets.size(); ++i) {
        bool implied = holdsAll(sets[i], characters);
        for (std::size_t j = 0; j < sets.size() && !implied; ++j) {
            const bool larger = sets[i].size() > sets[j].size() || j < i;
            implied = j != i && larger && holdsAll(sets[i], sets[j]);
        }
        if (!implied)
            kept.push_back(sets[i]);
    }
    return kept;
}

} // namespace

std::optional<RulesPasswordMaker> RulesPasswordMaker::create(const RulesRecipe& recipe, RandomSource& source,
                                                             QString& error)
{
    const std::optional<qint32> length = recipe.rules.lengthFor(recipe.length, error);
    if (!length)
        return std::nullopt;
    const QByteArray characters = without(recipe.rules.characters(), recipe.exclude);
    std::vector<QByteArray> sets;
    for (const PasswordRules::Requirement& requirement : recipe.rules.required) {
        sets.push_back(without(requirement.characters, recipe.exclude));
        if (sets.back().isEmpty()) {
            error = QStringLiteral("every character of \"%1\" is excluded").arg(requirement.text);
            return std::nullopt;
        }
    }
    if (characters.isEmpty()) {
        error = QStringLiteral("every character the rules allow is excluded");
        return std::nullopt;
    }
    sets = distinctRequirements(sets, characters);
    if (sets.size() > MostRequirements) {
        error =
            QStringLiteral("more than %1 different required sets are more than can be counted").arg(MostRequirements);
        return std::nullopt;
    }

    RulesPasswordMaker maker(characters, source, *length, recipe.rules.maxConsecutive.value_or(0));
    for (std::size_t k = 0; k < sets.size(); ++k) {
        for (const char c : sets[k])
            maker.requirementsOf_[quint8(c)] |= quint32(1) << k;
    }
    maker.allRequirements_ = (quint32(1) << sets.size()) - 1;
    std::map<quint32, qint32> sizes;
    for (const char c : characters)
        ++sizes[maker.requirementsOf_[quint8(c)]];
    std::vector<CharacterGroup> groups;
    for (const auto& [requirements, size] : sizes)
        groups.push_back({size, requirements});

    const int requirementCount = int(sets.size());
    const qint64 states = countingStates(groups.size(), requirementCount, *length, maker.maxConsecutive_);
    if (states > MostStates || states * *length > MostCountingWork) {
        error = QStringLiteral("these rules are too intricate to count their passwords");
        return std::nullopt;
    }
    maker.entropyBits_ = log2CountOfTexts(groups, requirementCount, *length, maker.maxConsecutive_);
    if (std::isinf(maker.entropyBits_)) {
        error = QStringLiteral("no password of length %1 meets these rules").arg(*length);
        return std::nullopt;
    }
    const double share = std::exp2(maker.entropyBits_ - *length * std::log2(double(characters.size())));
    if (share < LeastShare) {
        error = QStringLiteral("only 1 in %1 passwords of the rules' characters meets them, too few to draw from")
                    .arg(1 / share, 0, 'g', 3);
        return std::nullopt;
    }
    return maker;
}

RulesPasswordMaker::RulesPasswordMaker(const QByteArray& characters, RandomSource& source, qint32 length,
                                       qint32 maxConsecutive)
    : pool_(characters), source_(&source), length_(length), maxConsecutive_(maxConsecutive)
{ }

bool RulesPasswordMaker::makePassword(QByteArray& text)
{
    text.resize(length_);
    do {
        if (!pool_.fill(text.data(), length_, *source_))
            return false;
    } while (!meetsRules(text));
    return true;
}

bool RulesPasswordMaker::meetsRules(const QByteArray& text) const
{
    quint32 met = 0;
    qint32 run = 0;
    char last = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        met |= requirementsOf_[quint8(c)];
        run = i > 0 && c == last ? run + 1 : 1;
        if (maxConsecutive_ > 0 && run > maxConsecutive_)
            return false;
        last = c;
    }
    return met == allRequirements_;
}
