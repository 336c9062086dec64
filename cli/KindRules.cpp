#include "cli/KindRules.h"

#include "cli/CliOptions.h"
#include "cli/Options.h"
#include "engine/RandomSource.h"
#include "list/NameRules.h"

#include <QCommandLineParser>

#include <algorithm>
#include <functional>
#include <limits>

namespace {

// What spreadsheets run as a formula (= + - @) or take as a marker and hide (').
constexpr QByteArrayView FormulaStarts = "=+-@'";

bool digitsOnly(QByteArrayView text)
{
    return std::all_of(text.cbegin(), text.cend(), [](char c) { return c >= '0' && c <= '9'; });
}

qsizetype characterCount(QByteArrayView utf8)
{
    return std::count_if(utf8.cbegin(), utf8.cend(), [](char c) { return (quint8(c) & 0xC0) != 0x80; });
}

QString targetOf(const RecordFormat& format)
{
    return QString::fromLatin1(format.target ? format.target : format.name);
}

// The list without the words `drop` picks; the words are checked again by making a maker of them.
std::optional<UsageError> dropWords(const Options& option, CliOptions& options,
                                    const std::function<bool(const QByteArray&)>& drop)
{
    PassphraseRecipe& recipe = options.passphrase;
    QByteArrayList kept = recipe.words.words();
    kept.removeIf(drop);
    if (kept.size() == recipe.words.size())
        return {};
    recipe.words = WordList(kept);
    QString error;
    if (!PassphraseMaker::create(recipe, SystemRandomSource::instance(), error))
        return refuse(longName(option.wordList), error);
    return {};
}

std::optional<UsageError> holdWordsToPolicy(const Options& option, CliOptions& options)
{
    const RecordFormat& format = *options.format;
    const PasswordPolicy& policy = format.policy;
    PassphraseRecipe& recipe = options.passphrase;
    if (policy.forbidden) {
        const QByteArrayView forbidden(policy.forbidden);
        for (const char c : forbidden) {
            if (recipe.separator.contains(c))
                return refuse(
                    longName(option.separator),
                    QStringLiteral("%1 takes no password holding '%2'").arg(targetOf(format), QString(QLatin1Char(c))));
        }
        if (const auto error = dropWords(option, options, [forbidden](const QByteArray& word) {
                return std::any_of(forbidden.cbegin(), forbidden.cend(), [&word](char c) { return word.contains(c); });
            }))
            return error;
    }
    if (policy.minLength == 0 && policy.maxLength == 0)
        return {};
    qsizetype shortest = std::numeric_limits<qsizetype>::max();
    qsizetype longest = 0;
    for (const QByteArray& word : recipe.words.words()) {
        shortest = std::min(shortest, characterCount(word));
        longest = std::max(longest, characterCount(word));
    }
    const qsizetype between = qsizetype(recipe.wordCount - 1) * characterCount(recipe.separator);
    const qsizetype number = recipe.number ? 1 : 0;
    if (recipe.wordCount * shortest + between + number < policy.minLength
        || (policy.maxLength > 0 && recipe.wordCount * longest + between + number > policy.maxLength)) {
        const QString range = policy.maxLength > 0
            ? QStringLiteral("%1 to %2").arg(policy.minLength).arg(policy.maxLength)
            : QStringLiteral("at least %1").arg(policy.minLength);
        return refuse(longName(option.length),
                      QStringLiteral("%1 takes passwords of %2 characters, which %3 of this list may not make")
                          .arg(targetOf(format), range,
                               recipe.wordCount == 1 ? QStringLiteral("one word")
                                                     : QStringLiteral("%1 words").arg(recipe.wordCount)));
    }
    return {};
}

std::optional<UsageError> holdRulesToPolicy(const Options& option, CliOptions& options)
{
    const RecordFormat& format = *options.format;
    const PasswordPolicy& policy = format.policy;
    RandomSource& source = SystemRandomSource::instance();
    QString error;
    if (policy.forbidden) {
        options.rules.exclude += policy.forbidden;
        if (!RulesPasswordMaker::create(options.rules, source, error))
            return refuse(longName(option.rules),
                          targetOf(format) + QStringLiteral(" takes no password holding '")
                              + QLatin1String(policy.forbidden) + QStringLiteral("': ") + error);
    }
    const std::optional<RulesPasswordMaker> maker = RulesPasswordMaker::create(options.rules, source, error);
    if (!maker)
        return refuse(longName(option.rules), error);
    if (maker->length() < policy.minLength || (policy.maxLength > 0 && maker->length() > policy.maxLength)) {
        const QString range = policy.maxLength > 0
            ? QStringLiteral("%1 to %2").arg(policy.minLength).arg(policy.maxLength)
            : QStringLiteral("at least %1").arg(policy.minLength);
        return refuse(longName(option.length),
                      QStringLiteral("%1 takes passwords of %2 characters").arg(targetOf(format), range));
    }
    return {};
}

std::optional<UsageError> holdRulesToSpreadsheets(const Options& option, const RulesPasswordMaker& maker)
{
    const QByteArrayView characters = maker.characters();
    for (const char c : FormulaStarts) {
        if (characters.contains(c))
            return refuse(longName(option.rules),
                          QStringLiteral("its passwords may start with '%1', which spreadsheets run as a formula or "
                                         "hide (--exclude \"=+-@'\" leaves such characters out)")
                              .arg(QLatin1Char(c)));
    }
    if (digitsOnly(characters) && characters.contains('0'))
        return refuse(longName(option.rules),
                      QStringLiteral("its passwords of digits only may start with 0, which spreadsheets drop "
                                     "(--exclude 0 leaves it out)"));
    return {};
}

} // namespace

std::optional<UsageError> holdKindToOutputs(const NameUses& uses, const Options& option, CliOptions& options)
{
    if (options.kind == CliOptions::Kind::Characters)
        return {};
    const bool words = options.kind == CliOptions::Kind::Words;
    const RecordFormat& format = *options.format;
    if (format.policy.minClasses > 0)
        return refuse(longName(words ? option.style : option.rules),
                      QStringLiteral("%1 asks for passwords holding %2 of upper-case letters, lower-case letters, "
                                     "digits and symbols, which %3 are not made to hold")
                          .arg(targetOf(format))
                          .arg(format.policy.minClasses)
                          .arg(words ? QStringLiteral("passphrases") : QStringLiteral("a site's rules")));
    if (words) {
        if (const auto error = holdWordsToPolicy(option, options))
            return error;
        if (!uses.forSpreadsheets)
            return {};
        // Words of digits only joined by digits would make a number.
        const bool numbers = digitsOnly(options.passphrase.separator);
        return dropWords(option, options, [numbers](const QByteArray& word) {
            return FormulaStarts.contains(word.front()) || (numbers && word.front() == '0');
        });
    }
    if (const auto error = holdRulesToPolicy(option, options))
        return error;
    QString error;
    const std::optional<RulesPasswordMaker> maker =
        RulesPasswordMaker::create(options.rules, SystemRandomSource::instance(), error);
    if (!maker)
        return refuse(longName(option.rules), error);
    if (uses.forSpreadsheets) {
        if (const auto refusal = holdRulesToSpreadsheets(option, *maker))
            return refusal;
    }
    const quint64 limit = PairMaker::uniqueUsernameLimit(quint64(maker->characters().size()), maker->length());
    if (options.usernames == UsernameStyle::Random && uses.makesAccounts && options.count > limit)
        return refuse(longName(option.count),
                      QStringLiteral("random usernames of these characters and length are drawn all different for "
                                     "%1 accounts at most")
                          .arg(limit));
    return {};
}
