#include "cli/PasswordOptions.h"

#include "cli/CliOptions.h"
#include "cli/Options.h"
#include "cli/ValueReader.h"

#include <QCommandLineParser>

namespace {

// Words have no style of characters.
constexpr Word<std::optional<PasswordStyle>> Styles[] = {{"numeric", PasswordStyle::Numeric},
                                                         {"alphabetic", PasswordStyle::Alphabetic},
                                                         {"alphanumeric", PasswordStyle::AlphaNumeric},
                                                         {"symbols", PasswordStyle::AlphaNumSym},
                                                         {"words", std::nullopt}};
constexpr Word<LetterCase> Cases[] = {
    {"upper", LetterCase::Upper}, {"lower", LetterCase::Lower}, {"mixed", LetterCase::Mixed}};

} // namespace

std::optional<UsageError> readPasswordOptions(const QCommandLineParser& parser, const Options& option,
                                              CliOptions& options)
{
    if (options.kind == CliOptions::Kind::Rules)
        return {};
    std::optional<PasswordStyle> style = options.recipe.style;
    ValueReader values(parser);
    values.word(option.style, Styles, style);
    if (values.refusal())
        return values.refusal();
    if (!style) {
        options.kind = CliOptions::Kind::Words;
        return {};
    }
    options.recipe.style = *style;
    quint64 length = quint64(options.recipe.length);
    values.number(option.length, MaxLength, length);
    values.word(option.letterCase, Cases, options.recipe.letterCase);
    if (values.refusal())
        return values.refusal();
    options.recipe.length = qint32(length);
    options.recipe.excludeSimilar = parser.isSet(option.excludeSimilar);
    options.recipe.everyClass = parser.isSet(option.everyClass);
    options.recipe.exclude = parser.value(option.exclude).toUtf8();

    if (PasswordMaker::charactersOf(options.recipe).isEmpty())
        return refuse(longName(option.exclude), QStringLiteral("leaves no character to draw from"));
    if (options.recipe.everyClass && PasswordMaker::emptiedClassCount(options.recipe) > 0) {
        return refuse(longName(option.everyClass),
                      QStringLiteral("--exclude leaves a class of the characters without any"));
    }
    const int classes = PasswordMaker::classCount(options.recipe);
    if (options.recipe.everyClass && options.recipe.length < classes) {
        return refuse(longName(option.everyClass),
                      QStringLiteral("a password of %1 characters cannot hold all %2 classes of its characters")
                          .arg(options.recipe.length)
                          .arg(classes));
    }
    return {};
}
