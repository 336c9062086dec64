#include "cli/AccountOptions.h"

#include "cli/CliOptions.h"
#include "cli/Options.h"
#include "cli/ValueReader.h"

#include <QCommandLineParser>

namespace {

constexpr Word<UsernameStyle> Usernames[] = {
    {"random", UsernameStyle::Random}, {"numbered", UsernameStyle::Numbered}, {"none", UsernameStyle::None}};

// What random usernames are drawn from: the characters of the passwords.
QByteArray usernameCharacters(const CliOptions& options)
{
    if (options.kind != CliOptions::Kind::Rules)
        return PasswordMaker::charactersOf(options.recipe);
    QByteArray characters = options.rules.rules.characters();
    characters.removeIf([&options](char c) { return options.rules.exclude.contains(c); });
    return characters;
}

} // namespace

std::optional<UsageError> readAccountOptions(const QCommandLineParser& parser, const Options& option,
                                             CliOptions& options)
{
    quint64 digits = 1;
    ValueReader values(parser);
    values.number(option.count, MaxCount, options.count);
    values.word(option.usernames, Usernames, options.usernames);
    values.number(option.digits, MaxDigits, digits);
    values.number(option.start, MaxStart, options.numbering.start, 0);
    values.fileName(option.names, options.namesFile);
    if (values.refusal())
        return values.refusal();
    if (parser.isSet(option.digits))
        options.numbering.digits = int(digits);
    options.numbering.prefix = parser.value(option.prefix).toUtf8();

    if (parser.isSet(option.names) && parser.isSet(option.count))
        return refuse(longName(option.count), QStringLiteral("cannot be used with --names"));
    if (parser.isSet(option.names) && parser.isSet(option.usernames))
        return refuse(longName(option.usernames), QStringLiteral("cannot be used with --names"));
    if (parser.isSet(option.names))
        options.usernames = UsernameStyle::FromFile;
    for (const QCommandLineOption* numbering : {&option.prefix, &option.digits, &option.start}) {
        if (parser.isSet(*numbering) && options.usernames != UsernameStyle::Numbered)
            return refuse(longName(*numbering), QStringLiteral("needs --usernames numbered"));
    }
    if (const std::optional<UsageError> error =
            option.roster.read(parser, options.roster, options.usernames, options.slips))
        return error;
    options.allowSystemAccounts = parser.isSet(option.systemAccounts);
    const QString formatName = QString::fromLatin1(options.format->name);
    if (options.format->needsUsernames && options.usernames == UsernameStyle::None)
        return refuse(longName(option.format),
                      QStringLiteral("%1 records need usernames (--usernames or --names)").arg(formatName));
    if (options.usernames == UsernameStyle::Random && options.kind == CliOptions::Kind::Words) {
        return refuse(longName(option.usernames),
                      QStringLiteral("random usernames are drawn from a password's characters, which words do not "
                                     "have (numbered or --names give usernames)"));
    }
    if (options.usernames == UsernameStyle::Random) {
        for (const char c : usernameCharacters(options)) {
            if (options.format->refusal(QByteArrayView(&c, 1)).isEmpty())
                continue;
            return refuse(longName(option.format),
                          QStringLiteral("random usernames of these characters may hold '%1', which %2 records "
                                         "cannot (--exclude '%1' leaves it out)")
                              .arg(QString(QLatin1Char(c)), formatName));
        }
    }
    return {};
}
