#include "engine/PasswordMaker.h"

#include "engine/Alphabets.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace {

constexpr char SpreadsheetStarts[] = "=+-@'";

quint8 classBit(char c)
{
    if (c >= 'A' && c <= 'Z')
        return 1;
    if (c >= 'a' && c <= 'z')
        return 2;
    if (c >= '0' && c <= '9')
        return 4;
    return 8;
}

quint8 classesOf(QByteArrayView characters)
{
    quint8 classes = 0;
    for (const char c : characters)
        classes |= classBit(c);
    return classes;
}

} // namespace

QByteArray PasswordMaker::charactersOf(const PasswordRecipe& recipe)
{
    QByteArray characters =
        DrawnCharacters(recipe.style, SelectAlphabet(recipe.letterCase, recipe.style)).toByteArray();
    if (recipe.excludeSimilar)
        characters.removeIf([](char c) { return QByteArrayView(PasswordMaker::LookAlikes).contains(c); });
    if (!recipe.exclude.isEmpty())
        characters.removeIf([&recipe](char c) { return recipe.exclude.contains(c); });
    return characters;
}

int PasswordMaker::emptiedClassCount(const PasswordRecipe& recipe)
{
    PasswordRecipe whole = recipe;
    whole.exclude.clear();
    return std::popcount(quint8(classesOf(charactersOf(whole)) & ~classesOf(charactersOf(recipe))));
}

QByteArray PasswordMaker::absentExclusions(const PasswordRecipe& recipe)
{
    PasswordRecipe whole = recipe;
    whole.exclude.clear();
    const QByteArray characters = charactersOf(whole);
    QByteArray absent;
    for (const char c : recipe.exclude) {
        if (!characters.contains(c) && !absent.contains(c))
            absent.append(c);
    }
    return absent;
}

QByteArray PasswordMaker::firstCharactersOf(const PasswordRecipe& recipe)
{
    QByteArray characters = charactersOf(recipe);
    if (recipe.spreadsheetSafe)
        characters.removeIf([](char c) { return QByteArrayView(SpreadsheetStarts).contains(c); });
    return characters;
}

PasswordRecipe recipeFrom(const GeneratorOptions& options)
{
    PasswordRecipe recipe;
    recipe.style = options.passwordStyle.value_or(PasswordStyle::Numeric);
    recipe.letterCase = options.letterCase.value_or(LetterCase::Upper);
    recipe.length = options.characterCount;
    return recipe;
}

PasswordMaker::PasswordMaker(const PasswordRecipe& recipe, RandomSource& source)
    : pool_(charactersOf(recipe))
    , firstPool_(recipe.spreadsheetSafe ? firstCharactersOf(recipe) : charactersOf(recipe))
    , source_(source)
    , length_(recipe.length)
    , requiredClasses_(recipe.minClasses)
    , spreadsheetSafe_(recipe.spreadsheetSafe)
{
    for (const char c : pool_.characters()) {
        classOf_[static_cast<quint8>(c)] = classBit(c);
        classesPresent_ |= classBit(c);
    }
    if (recipe.everyClass)
        requiredClasses_ = std::max(requiredClasses_, std::popcount(classesPresent_));
    anySafePassword_ = spreadsheetSafe_ && entropyBits() > -HUGE_VAL;
}

int PasswordMaker::classCount(const PasswordRecipe& recipe)
{
    return std::popcount(classesOf(charactersOf(recipe)));
}

bool PasswordMaker::makePassword(QByteArray& text)
{
    // Without -mpopcnt a popcount is a call: made only where classes are asked for.
    if (length_ < requiredClasses_ || (requiredClasses_ > 0 && std::popcount(classesPresent_) < requiredClasses_))
        return false;
    if (!spreadsheetSafe_) {
        do {
            if (!makeText(text))
                return false;
        } while (requiredClasses_ > 0 && !holdsEnoughClasses(text));
        return true;
    }
    if (length_ <= 0 || !anySafePassword_)
        return false;
    text.resize(length_);
    do {
        if (!firstPool_.fill(text.data(), 1, source_) || !pool_.fill(text.data() + 1, length_ - 1, source_))
            return false;
    } while (!qualifies(text));
    return true;
}

bool PasswordMaker::qualifies(const QByteArray& text) const
{
    if (requiredClasses_ > 0 && !holdsEnoughClasses(text))
        return false;
    return !(text.startsWith('0')
             && std::all_of(text.cbegin(), text.cend(), [](char c) { return c >= '0' && c <= '9'; }));
}

bool PasswordMaker::holdsEnoughClasses(const QByteArray& text) const
{
    quint8 seen = 0;
    for (const char c : text)
        seen |= classOf_[static_cast<quint8>(c)];
    return std::popcount(seen) >= requiredClasses_;
}

// The passwords are counted by inclusion and exclusion over the classes. Those using the classes of S and
// no other number E(S) = the sum, over every T within S, of (-1)^(|S| - |T|) A(T), where A(T) = n1(T) n(T)^(length
// - 1) counts the passwords of T's characters alone, n1 being the characters a password may start with; the
// passwords held to K classes number the sum of E(S) over every S of at least K classes. A spreadsheet-safe
// password takes away the all-digit ones starting with 0. Divided by A(all) each term is at most 1, so the sum
// is taken in doubles and only its logarithm is added to log2 A(all); no big integers are needed.
double PasswordMaker::entropyBits() const
{
    if (length_ <= 0)
        return 0;
    const double n = double(pool_.characters().size());
    const double n1 = double(firstPool_.characters().size());
    const double total = std::log2(n1) + (length_ - 1) * std::log2(n);
    std::array<int, 4> perClass{};
    std::array<int, 4> firstPerClass{};
    for (const char c : pool_.characters())
        ++perClass[std::countr_zero(classOf_[static_cast<quint8>(c)])];
    for (const char c : firstPool_.characters())
        ++firstPerClass[std::countr_zero(classOf_[static_cast<quint8>(c)])];
    const auto only = [&](unsigned classes) {
        int within = 0;
        int firstWithin = 0;
        for (std::size_t k = 0; k < perClass.size(); ++k) {
            within += (classes >> k & 1u) ? perClass[k] : 0;
            firstWithin += (classes >> k & 1u) ? firstPerClass[k] : 0;
        }
        return firstWithin / n1 * std::pow(within / n, length_ - 1);
    };
    double share = 1;
    if (requiredClasses_ > 0) {
        share = 0;
        for (unsigned used = 0; used < 16; ++used) {
            if ((used & ~unsigned(classesPresent_)) != 0 || std::popcount(used) < requiredClasses_)
                continue;
            for (unsigned part = used;; part = (part - 1) & used) {
                const double term = only(part);
                share += std::popcount(used ^ part) % 2 == 0 ? term : -term;
                if (part == 0)
                    break;
            }
        }
    }
    constexpr quint8 DigitClass = 4;
    const bool allDigitsQualify = requiredClasses_ <= 1 && (classesPresent_ & DigitClass);
    if (spreadsheetSafe_ && allDigitsQualify && firstPool_.characters().contains('0'))
        share -= 1 / n1 * std::pow(perClass[std::countr_zero(DigitClass)] / n, length_ - 1);
    return share > 0 ? total + std::log2(share) : -HUGE_VAL;
}
