#include "cli/RulesOptions.h"

#include "cli/CliOptions.h"
#include "cli/Options.h"
#include "cli/ValueReader.h"
#include "engine/RandomSource.h"

#include <QCommandLineParser>

std::optional<UsageError> readRulesOptions(const QCommandLineParser& parser, const Options& option, CliOptions& options)
{
    if (!parser.isSet(option.rules))
        return {};
    for (const QCommandLineOption* replaced : {&option.style, &option.letterCase, &option.everyClass}) {
        if (parser.isSet(*replaced))
            return refuse(longName(*replaced), QStringLiteral("cannot be used with --rules"));
    }
    QString error;
    const std::optional<PasswordRules> rules = PasswordRules::parse(parser.value(option.rules), error);
    if (!rules)
        return refuse(longName(option.rules), error);
    quint64 length = 0;
    ValueReader values(parser);
    values.number(option.length, MaxLength, length);
    if (values.refusal())
        return values.refusal();

    options.kind = CliOptions::Kind::Rules;
    RulesRecipe& recipe = options.rules;
    recipe.rules = *rules;
    if (parser.isSet(option.length))
        recipe.length = qint32(length);
    if (!rules->lengthFor(recipe.length, error))
        return refuse(longName(option.length), error);
    // Making one counts the passwords that meet the rules, and so tells whether any do; it draws nothing.
    RandomSource& source = SystemRandomSource::instance();
    if (!RulesPasswordMaker::create(recipe, source, error))
        return refuse(longName(option.rules), error);
    recipe.exclude = parser.value(option.exclude).toUtf8();
    if (parser.isSet(option.excludeSimilar))
        recipe.exclude += PasswordMaker::LookAlikes;
    if (!RulesPasswordMaker::create(recipe, source, error))
        return refuse(longName(parser.isSet(option.exclude) ? option.exclude : option.excludeSimilar), error);
    return {};
}
