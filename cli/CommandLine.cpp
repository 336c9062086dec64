#include "cli/CommandLine.h"

#include "cli/AccountOptions.h"
#include "cli/KindRules.h"
#include "cli/Options.h"
#include "cli/OutputOptions.h"
#include "cli/ParserError.h"
#include "cli/PassphraseOptions.h"
#include "cli/PasswordOptions.h"
#include "cli/RulesOptions.h"
#include "cli/RunRules.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

CommandLine refused(const UsageError& error)
{
    return {CommandLine::Action::Refuse, {}, {}, error};
}

// The parser names the program by the path it was started by; the help gives its name alone.
QString helpText(const QCommandLineParser& parser)
{
    const QString text = parser.helpText();
    return QStringLiteral("Usage: ") + QCoreApplication::applicationName()
        + text.mid(text.indexOf(QStringLiteral(" [options]")));
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments)
{
    const Options option;
    QCommandLineParser parser;
    parser.setApplicationDescription(programDescription());
    parser.addOptions(option.all());
    if (!parser.parse(arguments))
        return refused(parserError(parser, option.all()));
    if (parser.isSet(option.help))
        return {CommandLine::Action::Print, {}, helpText(parser), {}};
    if (parser.isSet(option.version)) {
        return {CommandLine::Action::Print,
                {},
                QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion()
                    + QLatin1Char('\n'),
                {}};
    }
    if (!parser.positionalArguments().isEmpty())
        return refused(
            refuse(quoted(parser.positionalArguments().constFirst()), QStringLiteral("unexpected argument")));

    // The passwords' options first, the rules before the style they take the place of; then the outputs' (the
    // format among them), on which the accounts' depend.
    CliOptions options;
    for (const auto read :
         {readRulesOptions, readPasswordOptions, readPassphraseOptions, readOutputOptions, readAccountOptions}) {
        if (const std::optional<UsageError> error = read(parser, option, options))
            return refused(*error);
    }
    const NameUses uses = nameUsesOf(*options.format, !options.plainFile.isEmpty(), !options.slipsFile.isEmpty());
    if (const std::optional<UsageError> error = holdKindToOutputs(uses, option, options))
        return refused(*error);
    if (const auto error =
            option.roster.holdToFormat(parser, *options.format, options.hash, options.roster, options.recipe))
        return refused(*error);
    if (const std::optional<QString> refusal = applyNameAndSpreadsheetRules(uses, options.usernames, options.count,
                                                                            options.numbering.prefix, options.recipe))
        return refused({*refusal});
    return {CommandLine::Action::Generate, options, {}, {}};
}
