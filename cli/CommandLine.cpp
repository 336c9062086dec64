#include "cli/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>
#include <optional>

namespace {

constexpr quint64 MaxCount = 1'000'000'000'000;
constexpr quint64 MaxLength = 1024;

template<typename Enum>
struct Word
{
    const char* text;
    Enum value;
};

constexpr Word<PasswordStyle> Styles[] = {{"numeric", PasswordStyle::Numeric},
                                          {"alphabetic", PasswordStyle::Alphabetic},
                                          {"alphanumeric", PasswordStyle::AlphaNumeric},
                                          {"symbols", PasswordStyle::AlphaNumSym}};
constexpr Word<LetterCase> Cases[] = {
    {"upper", LetterCase::Upper}, {"lower", LetterCase::Lower}, {"mixed", LetterCase::Mixed}};
constexpr Word<UsernameStyle> Usernames[] = {
    {"random", UsernameStyle::Random}, {"numbered", UsernameStyle::Numbered}, {"none", UsernameStyle::None}};
constexpr Word<SaveLayout> Formats[] = {{"lines", SaveLayout::OnePerLine}, {"csv", SaveLayout::Csv}};

QCommandLineOption withValue(const QStringList& names, const char* description, const char* valueName)
{
    return QCommandLineOption(names, QString::fromUtf8(description), QString::fromLatin1(valueName));
}

QCommandLineOption flag(const QStringList& names, const char* description)
{
    return QCommandLineOption(names, QString::fromUtf8(description));
}

// Every option, as --help lists them.
struct Options
{
    QCommandLineOption count = withValue({QStringLiteral("n"), QStringLiteral("count")},
                                         "Make N passwords, 1 to 1000000000000 (default: 1).", "N");
    QCommandLineOption length = withValue({QStringLiteral("l"), QStringLiteral("length")},
                                          "Characters per password, 1 to 1024 (default: 8).", "N");
    QCommandLineOption style = withValue({QStringLiteral("s"), QStringLiteral("style")},
                                         "numeric (digits), alphabetic (letters), alphanumeric (letters and "
                                         "digits) or symbols (letters, digits and symbols) (default: numeric).",
                                         "STYLE");
    QCommandLineOption letterCase =
        withValue({QStringLiteral("c"), QStringLiteral("case")},
                  "Letters in upper, lower or mixed case; numeric has none (default: upper).", "CASE");
    QCommandLineOption usernames = withValue({QStringLiteral("u"), QStringLiteral("usernames")},
                                             "random (drawn after each password, from the same characters), "
                                             "numbered (1, 2, 3, ... in output order) or none (default: random).",
                                             "KIND");
    QCommandLineOption names = withValue({QStringLiteral("f"), QStringLiteral("names")},
                                         "One password for every name of FILE, a name a line; FILE '-' is "
                                         "standard input. Takes the place of --count and --usernames.",
                                         "FILE");
    QCommandLineOption format = withValue({QStringLiteral("F"), QStringLiteral("format")},
                                          "lines (a record a line) or csv (the records joined by commas, no line "
                                          "end) (default: lines). A record is the password, then a comma and the "
                                          "username if there is one.",
                                          "FORMAT");
    QCommandLineOption output =
        withValue({QStringLiteral("o"), QStringLiteral("output")},
                  "Write FILE instead of standard output; a new file is readable by its owner only.", "FILE");
    QCommandLineOption force = flag({QStringLiteral("force")}, "Replace the file of --output if it exists.");
    QCommandLineOption excludeSimilar =
        flag({QStringLiteral("exclude-similar")},
             "Leave the look-alikes 0, O, 1, l and I out of the characters (of random usernames too).");
    QCommandLineOption everyClass = flag({QStringLiteral("every-class")},
                                         "Each password holds at least one character of every class its "
                                         "characters have (upper, lower, digit, symbol), every such password "
                                         "equally likely. Random usernames are not held to it.");
    QCommandLineOption entropy = flag({QStringLiteral("entropy")},
                                      "First print \"entropy: B bits per password\" on standard error: log2 of "
                                      "the number of passwords these options make.");
    QCommandLineOption help = flag({QStringLiteral("h"), QStringLiteral("help")}, "Show this help and end.");
    QCommandLineOption version = flag({QStringLiteral("V"), QStringLiteral("version")}, "Show the version and end.");
};

CommandLine refuse(const QString& option, const QString& reason)
{
    return {CommandLine::Action::Refuse, {}, option + QStringLiteral(": ") + reason};
}

QString quoted(const QString& value)
{
    return QLatin1Char('\'') + value + QLatin1Char('\'');
}

QString longName(const QCommandLineOption& option)
{
    return QStringLiteral("--") + option.names().constLast();
}

// The parser names the option in quotes in its own complaints: "Missing value after '-n'."
CommandLine refuseParserError(const QCommandLineParser& parser)
{
    if (!parser.unknownOptionNames().isEmpty()) {
        const QString name = parser.unknownOptionNames().constFirst();
        return refuse((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name,
                      QStringLiteral("unknown option"));
    }
    const QString error = parser.errorText();
    const qsizetype open = error.indexOf(QLatin1Char('\''));
    const qsizetype close = error.lastIndexOf(QLatin1Char('\''));
    if (open < 0 || close <= open)
        return refuse(QStringLiteral("command line"), error);
    QString reason = error.left(open).trimmed();
    if (reason.endsWith(QStringLiteral(" after")))
        reason.chop(6);
    return refuse(error.mid(open + 1, close - open - 1), reason.toLower());
}

// Takes the values of the options that were given into the record; the first that does not fit is refused.
class ValueReader
{
public:
    explicit ValueReader(const QCommandLineParser& parser) : parser_(parser) { }

    // Digits only: no sign, no blanks, nothing after.
    void number(const QCommandLineOption& option, quint64 maximum, quint64& field)
    {
        if (refusal_ || !parser_.isSet(option))
            return;
        const QString text = parser_.value(option);
        bool parsed = !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); });
        const quint64 value = parsed ? text.toULongLong(&parsed) : 0;
        if (parsed && value >= 1 && value <= maximum)
            field = value;
        else
            refusal_ = refuse(longName(option),
                              QStringLiteral("%1 is not a whole number from 1 to %2").arg(quoted(text)).arg(maximum));
    }

    template<typename Enum, std::size_t N>
    void word(const QCommandLineOption& option, const Word<Enum> (&words)[N], Enum& field)
    {
        if (refusal_ || !parser_.isSet(option))
            return;
        const QString text = parser_.value(option);
        QStringList known;
        for (const Word<Enum>& entry : words) {
            if (text == QLatin1String(entry.text)) {
                field = entry.value;
                return;
            }
            known.append(QString::fromLatin1(entry.text));
        }
        refusal_ = refuse(longName(option),
                          QStringLiteral("%1 is not one of %2").arg(quoted(text), known.join(QStringLiteral(", "))));
    }

    const std::optional<CommandLine>& refusal() const { return refusal_; }

private:
    const QCommandLineParser& parser_;
    std::optional<CommandLine> refusal_;
};

} // namespace

CommandLine parseCommandLine(const QStringList& arguments)
{
    const Options option;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Makes random passwords, alone or paired with usernames, from the kernel's secure random "
                       "numbers, and writes one record for each pair."));
    parser.addOptions({option.count, option.length, option.style, option.letterCase, option.usernames, option.names,
                       option.format, option.output, option.force, option.excludeSimilar, option.everyClass,
                       option.entropy, option.help, option.version});
    if (!parser.parse(arguments))
        return refuseParserError(parser);
    if (parser.isSet(option.help))
        return {CommandLine::Action::Print, {}, parser.helpText()};
    if (parser.isSet(option.version)) {
        return {CommandLine::Action::Print,
                {},
                QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion()
                    + QLatin1Char('\n')};
    }
    if (!parser.positionalArguments().isEmpty())
        return refuse(quoted(parser.positionalArguments().constFirst()), QStringLiteral("unexpected argument"));

    CliOptions options;
    quint64 length = quint64(options.recipe.length);
    ValueReader values(parser);
    values.number(option.count, MaxCount, options.count);
    values.number(option.length, MaxLength, length);
    values.word(option.style, Styles, options.recipe.style);
    values.word(option.letterCase, Cases, options.recipe.letterCase);
    values.word(option.usernames, Usernames, options.usernames);
    values.word(option.format, Formats, options.layout);
    if (values.refusal())
        return *values.refusal();
    options.recipe.length = qint32(length);

    options.namesFile = parser.value(option.names);
    options.outputFile = parser.value(option.output);
    if (parser.isSet(option.names) && options.namesFile.isEmpty())
        return refuse(longName(option.names), QStringLiteral("no file name given"));
    if (parser.isSet(option.output) && options.outputFile.isEmpty())
        return refuse(longName(option.output), QStringLiteral("no file name given"));
    if (parser.isSet(option.names) && parser.isSet(option.count))
        return refuse(longName(option.count), QStringLiteral("cannot be used with --names"));
    if (parser.isSet(option.names) && parser.isSet(option.usernames))
        return refuse(longName(option.usernames), QStringLiteral("cannot be used with --names"));

    options.force = parser.isSet(option.force);
    options.entropy = parser.isSet(option.entropy);
    options.recipe.excludeSimilar = parser.isSet(option.excludeSimilar);
    options.recipe.everyClass = parser.isSet(option.everyClass);
    const int classes = PasswordMaker::classCount(options.recipe);
    if (options.recipe.everyClass && options.recipe.length < classes) {
        return refuse(longName(option.everyClass),
                      QStringLiteral("a password of %1 characters cannot hold all %2 classes of its characters")
                          .arg(options.recipe.length)
                          .arg(classes));
    }
    return {CommandLine::Action::Generate, options, {}};
}
