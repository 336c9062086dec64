#include "engine/PasswordMaker.h"

#include "engine/Alphabets.h"

#include <bit>
#include <cmath>

namespace {

constexpr char LookAlikes[] = "0O1lI";

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
        characters.removeIf([](char c) { return QByteArrayView(LookAlikes).contains(c); });
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

PasswordRecipe recipeFrom(const GeneratorOptions& options)
{
    PasswordRecipe recipe;
    recipe.style = options.passwordStyle.value_or(PasswordStyle::Numeric);
    recipe.letterCase = options.letterCase.value_or(LetterCase::Upper);
    recipe.length = options.characterCount;
    return recipe;
}

PasswordMaker::PasswordMaker(const PasswordRecipe& recipe, RandomSource& source)
    : pool_(charactersOf(recipe)), source_(source), length_(recipe.length), everyClass_(recipe.everyClass)
{
    for (const char c : pool_.characters()) {
        classOf_[static_cast<quint8>(c)] = classBit(c);
        classesPresent_ |= classBit(c);
    }
}

int PasswordMaker::classCount(const PasswordRecipe& recipe)
{
    return std::popcount(classesOf(charactersOf(recipe)));
}

bool PasswordMaker::makePassword(QByteArray& text)
{
    if (everyClass_ && length_ < std::popcount(classesPresent_))
        return false;
    do {
        if (!makeText(text))
            return false;
    } while (everyClass_ && !holdsEveryClass(text));
    return true;
}

bool PasswordMaker::makeText(QByteArray& text)
{
    text.resize(std::max(length_, 0));
    return pool_.fill(text.data(), text.size(), source_);
}

bool PasswordMaker::holdsEveryClass(const QByteArray& text) const
{
    quint8 seen = 0;
    for (const char c : text)
        seen |= classOf_[static_cast<quint8>(c)];
    return seen == classesPresent_;
}

// The passwords that hold every class are counted by inclusion and exclusion: the sum, over every set S of
// classes, of (-1)^|S| (n - the characters of S)^length. Divided by n^length each term is at most 1, so the sum
// is taken in doubles and only its logarithm is added to length * log2(n); no big integers are needed.
double PasswordMaker::entropyBits() const
{
    if (length_ <= 0)
        return 0;
    const double n = double(pool_.characters().size());
    const double total = length_ * std::log2(n);
    if (!everyClass_)
        return total;
    std::array<int, 4> perClass{};
    for (const char c : pool_.characters())
        ++perClass[std::countr_zero(classOf_[static_cast<quint8>(c)])];
    double share = 0;
    for (unsigned leftOut = 0; leftOut < 16; ++leftOut) {
        if ((leftOut & ~unsigned(classesPresent_)) != 0)
            continue;
        int without = 0;
        for (std::size_t k = 0; k < perClass.size(); ++k)
            without += (leftOut >> k & 1u) ? perClass[k] : 0;
        const double term = std::pow((n - without) / n, length_);
        share += std::popcount(leftOut) % 2 == 0 ? term : -term;
    }
    return total + std::log2(share);
}
