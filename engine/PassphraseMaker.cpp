#include "engine/PassphraseMaker.h"

#include <QSet>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>

namespace {

constexpr quint32 Digits = 10;

QByteArray capitalized(const QByteArray& word)
{
    const QString text = QString::fromUtf8(word);
    const qsizetype first = text.size() > 1 && text.at(0).isHighSurrogate() ? 2 : 1;
    return (text.left(first).toUpper() + text.mid(first)).toUtf8();
}

bool holdsDigit(QByteArrayView text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The separator is found in separator + token + separator at its two ends only.
bool separatesCleanly(QByteArrayView separator, QByteArrayView token)
{
    const QByteArray joined = separator.toByteArray() + token.toByteArray() + separator.toByteArray();
    return joined.indexOf(separator, 1) == joined.size() - separator.size();
}

bool keptWithSeparator(const QByteArray& word, const PassphraseRecipe& recipe)
{
    if (!separatesCleanly(recipe.separator, word))
        return false;
    // A digit after the word could complete a separator that holds digits.
    if (recipe.number && holdsDigit(recipe.separator)) {
        for (char digit = '0'; digit <= '9'; ++digit) {
            if (!separatesCleanly(recipe.separator, word + digit))
                return false;
        }
    }
    return true;
}

// With no separator each word must begin where a character that starts words is found.
QByteArrayList keptWithoutSeparator(const QByteArrayList& words)
{
    std::set<char32_t> starts;
    std::vector<QList<uint>> characters;
    for (const QByteArray& word : words) {
        characters.push_back(QString::fromUtf8(word).toUcs4());
        starts.insert(characters.back().front());
    }
    QByteArrayList kept;
    for (std::size_t i = 0; i < characters.size(); ++i) {
        const QList<uint>& word = characters[i];
        if (std::none_of(word.begin() + 1, word.end(), [&starts](uint c) { return starts.count(c) != 0; }))
            kept.append(words[qsizetype(i)]);
    }
    return kept;
}

QByteArrayList usableWords(const PassphraseRecipe& recipe)
{
    QByteArrayList candidates;
    QSet<QByteArray> seen;
    for (const QByteArray& word : recipe.words.words()) {
        const QByteArray form = recipe.capitalize ? capitalized(word) : word;
        if (seen.contains(form) || (recipe.number && holdsDigit(form)))
            continue;
        seen.insert(form);
        candidates.append(form);
    }
    if (recipe.separator.isEmpty())
        return keptWithoutSeparator(candidates);
    QByteArrayList kept;
    for (const QByteArray& word : std::as_const(candidates)) {
        if (keptWithSeparator(word, recipe))
            kept.append(word);
    }
    return kept;
}

QString describeOptions(const PassphraseRecipe& recipe)
{
    QString options = recipe.separator.isEmpty()
        ? QStringLiteral("with no separator")
        : QStringLiteral("with the separator \"%1\"").arg(QString::fromUtf8(recipe.separator));
    if (recipe.separator.isEmpty() && !recipe.capitalize)
        options += QStringLiteral(" and no capitals");
    if (recipe.number)
        options += QStringLiteral(" and a number");
    return options;
}

} // namespace

std::optional<PassphraseMaker> PassphraseMaker::create(const PassphraseRecipe& recipe, RandomSource& source,
                                                       QString& error)
{
    if (recipe.wordCount < 1 || recipe.wordCount > MaximumWords) {
        error = QStringLiteral("a passphrase holds 1 to %1 words").arg(MaximumWords);
        return std::nullopt;
    }
    const QByteArrayList words = usableWords(recipe);
    if (words.isEmpty() || 2 * words.size() < recipe.words.size()) {
        error = QStringLiteral("only %1 of the word list's %2 words can be told apart in passphrases %3; at most "
                               "half of them may be left out")
                    .arg(words.size())
                    .arg(recipe.words.size())
                    .arg(describeOptions(recipe));
        return std::nullopt;
    }
    return PassphraseMaker(words, recipe, source);
}

PassphraseMaker::PassphraseMaker(const QByteArrayList& words, const PassphraseRecipe& recipe, RandomSource& source)
    : separator_(recipe.separator)
    , source_(&source)
    , wordCount_(recipe.wordCount)
    , number_(recipe.number)
    , wordIndex_(quint32(words.size()))
    , numberIndex_(recipe.number ? Digits * quint32(recipe.wordCount) : 1)
    , drawn_(std::size_t(recipe.wordCount))
{
    starts_.reserve(std::size_t(words.size()) + 1);
    for (const QByteArray& word : words) {
        starts_.push_back(quint32(wordBytes_.size()));
        wordBytes_ += word;
    }
    starts_.push_back(quint32(wordBytes_.size()));
}

bool PassphraseMaker::makePassword(QByteArray& text)
{
    qsizetype size = number_ ? 1 : 0;
    size += qsizetype(separator_.size()) * (wordCount_ - 1);
    for (quint32& index : drawn_) {
        if (!wordIndex_.draw(*source_, index))
            return false;
        size += starts_[index + 1] - starts_[index];
    }
    quint32 numberAt = 0;
    if (number_ && !numberIndex_.draw(*source_, numberAt))
        return false;
    text.resize(size);
    char* out = text.data();
    const char* words = wordBytes_.constData();
    for (std::size_t i = 0; i < drawn_.size(); ++i) {
        if (i > 0) {
            std::memcpy(out, separator_.constData(), std::size_t(separator_.size()));
            out += separator_.size();
        }
        const quint32 start = starts_[drawn_[i]];
        const quint32 length = starts_[drawn_[i] + 1] - start;
        std::memcpy(out, words + start, length);
        out += length;
        if (number_ && numberAt / Digits == i)
            *out++ = char('0' + numberAt % Digits);
    }
    // Like the random bytes, the draws do not outlive the passphrase they made.
    std::fill(drawn_.begin(), drawn_.end(), 0);
    return true;
}

double PassphraseMaker::entropyBits() const
{
    const double words = wordCount_ * std::log2(double(wordsInUse()));
    return number_ ? words + std::log2(double(Digits) * wordCount_) : words;
}
