#include "cli/CommandLine.h"

#include "cli/RunRules.h"
#include "os/SameFile.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>
#include <optional>
#include <utility>

namespace {

constexpr quint64 MaxCount = 1'000'000'000'000;
constexpr quint64 MaxLength = 1024;
constexpr quint64 MaxDigits = 18;
// What --digits can show: eighteen nines.
constexpr quint64 MaxStart = 999'999'999'999'999'999;

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
constexpr Word<HashMethod> Hashes[] = {{"yescrypt", HashMethod::Yescrypt}, {"sha512crypt", HashMethod::Sha512crypt}};
constexpr Word<Paper> Papers[] = {{"a4", Paper::A4}, {"letter", Paper::Letter}};

QCommandLineOption withValue(const QStringList& names, const QString& description, const char* valueName)
{
    return QCommandLineOption(names, description, QString::fromLatin1(valueName));
}

QCommandLineOption withValue(const QStringList& names, const char* description, const char* valueName)
{
    return withValue(names, QString::fromUtf8(description), valueName);
}

QCommandLineOption flag(const QStringList& names, const char* description)
{
    return QCommandLineOption(names, QString::fromUtf8(description));
}

// "The records' format (default: lines): lines, csv or json. lines: a record a line; ...": every format of the
// table, in its order.
QString formatsHelp()
{
    QStringList names;
    QStringList descriptions;
    for (const RecordFormat& format : RecordFormat::all()) {
        names.append(QString::fromLatin1(format.name));
        if (format.description)
            descriptions.append(names.constLast() + QStringLiteral(": ") + QString::fromUtf8(format.description));
    }
    const QString last = names.takeLast();
    // The default comes first, where a wider column of option names cannot break it over two lines.
    QString help =
        QStringLiteral("The records' format (default: %1): ").arg(QString::fromLatin1(RecordFormat::all().front().name))
        + (names.isEmpty() ? last : names.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last)
        + QLatin1Char('.');
    if (!descriptions.isEmpty())
        help += QLatin1Char(' ') + descriptions.join(QStringLiteral("; ")) + QLatin1Char('.');
    return help;
}

// Every option, as --help lists them.
struct Options
{
    QCommandLineOption count = withValue({QStringLiteral("n"), QStringLiteral("count")},
                                         "Make N passwords, 1 to 1000000000000 (default: 1).", "N");
    QCommandLineOption length = withValue({QStringLiteral("l"), QStringLiteral("length")},
                                          "Characters per password, 1 to 1024 (default: 16).", "N");
    QCommandLineOption style = withValue({QStringLiteral("s"), QStringLiteral("style")},
                                         "numeric (digits), alphabetic (letters), alphanumeric (letters and "
                                         "digits) or symbols (letters, digits and symbols) (default: alphanumeric).",
                                         "STYLE");
    QCommandLineOption letterCase =
        withValue({QStringLiteral("c"), QStringLiteral("case")},
                  "Letters in upper, lower or mixed case; numeric has none (default: mixed).", "CASE");
    QCommandLineOption usernames = withValue({QStringLiteral("u"), QStringLiteral("usernames")},
                                             "random (drawn after each password, from the same characters), "
                                             "numbered (1, 2, 3, ... in output order) or none (default: none).",
                                             "KIND");
    QCommandLineOption prefix = withValue({QStringLiteral("prefix")},
                                          "Numbered usernames start with TEXT: --prefix student gives student1, "
                                          "student2, ...",
                                          "TEXT");
    QCommandLineOption digits = withValue({QStringLiteral("digits")},
                                          "Numbered usernames have at least N digits, 1 to 18, zeros in front: "
                                          "--digits 3 gives 001, 002, ...",
                                          "N");
    QCommandLineOption start = withValue({QStringLiteral("start")},
                                         "Numbered usernames count from N, 0 to 999999999999999999 (default: 1).", "N");
    QCommandLineOption names = withValue({QStringLiteral("f"), QStringLiteral("names")},
                                         "One password for every name of FILE, a name a line; FILE '-' is "
                                         "standard input. Takes the place of --count and --usernames. Names "
                                         "that must not become usernames end the run (see NAMES in the manual).",
                                         "FILE");
    QCommandLineOption format = withValue({QStringLiteral("F"), QStringLiteral("format")}, formatsHelp(), "FORMAT");
    QCommandLineOption output =
        withValue({QStringLiteral("o"), QStringLiteral("output")},
                  "Write FILE instead of standard output; a new file is readable by its owner only.", "FILE");
    QCommandLineOption force =
        flag({QStringLiteral("force")}, "Replace the files of --output, --plain and --slips if they exist.");
    QCommandLineOption systemAccounts =
        flag({QStringLiteral("allow-system-accounts")},
             "Let root and the system's other accounts be usernames of accounts: those of /etc/passwd whose uid is "
             "outside UID_MIN to UID_MAX of /etc/login.defs, such as daemon and nobody.");
    QCommandLineOption hash = withValue({QStringLiteral("hash")},
                                        "Write the crypt(3) hash of each password in its place, yescrypt or "
                                        "sha512crypt, for chpasswd -e and the like. Needs --plain or --slips for "
                                        "the passwords themselves.",
                                        "METHOD");
    QCommandLineOption plain = withValue({QStringLiteral("plain")},
                                         "Also write the same accounts, passwords in plain text, to FILE as table "
                                         "records; readable by its owner only.",
                                         "FILE");
    QCommandLineOption slips = withValue({QStringLiteral("slips")},
                                         "Also write a PDF of slips to cut out and hand over, one an account, ten "
                                         "a page; readable by its owner only.",
                                         "FILE");
    QCommandLineOption title =
        withValue({QStringLiteral("title")}, "A line of TEXT at the top of every slip (a class, a system).", "TEXT");
    QCommandLineOption paper =
        withValue({QStringLiteral("paper")}, "The slips' paper, a4 or letter (default: the locale's paper).", "PAPER");
    QCommandLineOption exclude = withValue({QStringLiteral("exclude")},
                                           "Leave the characters of CHARS out of the characters (of random "
                                           "usernames too).",
                                           "CHARS");
    QCommandLineOption excludeSimilar =
        flag({QStringLiteral("exclude-similar")},
             "Leave the look-alikes 0, O, 1, l and I out of the characters (of random usernames too).");
    QCommandLineOption everyClass = flag({QStringLiteral("every-class")},
                                         "Each password holds at least one character of every class its "
                                         "characters have (upper, lower, digit, symbol), every such password "
                                         "equally likely. Random usernames are not held to it.");
    QCommandLineOption entropy = flag({QStringLiteral("entropy")},
                                      "First print \"entropy: B bits per password\" on standard error: log2 of "
                                      "the number of passwords these options make; then what --exclude "
                                      "named that the characters do not hold.");
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
    void number(const QCommandLineOption& option, quint64 maximum, quint64& field, quint64 minimum = 1)
    {
        if (refusal_ || !parser_.isSet(option))
            return;
        const QString text = parser_.value(option);
        bool parsed = !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); });
        const quint64 value = parsed ? text.toULongLong(&parsed) : 0;
        if (parsed && value >= minimum && value <= maximum)
            field = value;
        else
            refusal_ = refuse(
                longName(option),
                QStringLiteral("%1 is not a whole number from %2 to %3").arg(quoted(text)).arg(minimum).arg(maximum));
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
        refuseWord(option, text, known);
    }

    void format(const QCommandLineOption& option, const RecordFormat*& field)
    {
        if (refusal_ || !parser_.isSet(option))
            return;
        const QString text = parser_.value(option);
        if (const RecordFormat* found = RecordFormat::find(text)) {
            field = found;
            return;
        }
        QStringList known;
        for (const RecordFormat& format : RecordFormat::all())
            known.append(QString::fromLatin1(format.name));
        refuseWord(option, text, known);
    }

    const std::optional<CommandLine>& refusal() const { return refusal_; }

private:
    void refuseWord(const QCommandLineOption& option, const QString& text, const QStringList& known)
    {
        refusal_ = refuse(longName(option),
                          QStringLiteral("%1 is not one of %2").arg(quoted(text), known.join(QStringLiteral(", "))));
    }

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
                       "numbers, and writes one record for each pair in the form the next program reads; it can put "
                       "hashes in the records for the system and print the passwords on slips for the people."));
    parser.addOptions({option.count,          option.length,  option.style,   option.letterCase,
                       option.usernames,      option.prefix,  option.digits,  option.start,
                       option.names,          option.format,  option.output,  option.force,
                       option.systemAccounts, option.hash,    option.plain,   option.slips,
                       option.title,          option.paper,   option.exclude, option.excludeSimilar,
                       option.everyClass,     option.entropy, option.help,    option.version});
    const RosterOptions rosterOptions;
    parser.addOptions(rosterOptions.options());
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
    quint64 digits = 1;
    options.slips.paper = paperOfLocale();
    ValueReader values(parser);
    values.number(option.count, MaxCount, options.count);
    values.number(option.length, MaxLength, length);
    values.word(option.style, Styles, options.recipe.style);
    values.word(option.letterCase, Cases, options.recipe.letterCase);
    values.word(option.usernames, Usernames, options.usernames);
    values.number(option.digits, MaxDigits, digits);
    values.number(option.start, MaxStart, options.numbering.start, 0);
    values.format(option.format, options.format);
    values.word(option.paper, Papers, options.slips.paper);
    HashMethod hash = HashMethod::Yescrypt;
    values.word(option.hash, Hashes, hash);
    if (values.refusal())
        return *values.refusal();
    options.recipe.length = qint32(length);
    if (parser.isSet(option.digits))
        options.numbering.digits = int(digits);
    options.numbering.prefix = parser.value(option.prefix).toUtf8();
    if (parser.isSet(option.hash))
        options.hash = hash;

    for (const auto& [file, field] : {std::pair{&option.names, &options.namesFile},
                                      {&option.output, &options.outputFile},
                                      {&option.plain, &options.plainFile},
                                      {&option.slips, &options.slipsFile}}) {
        *field = parser.value(*file);
        if (parser.isSet(*file) && field->isEmpty())
            return refuse(longName(*file), QStringLiteral("no file name given"));
    }
    // Two outputs in one file would leave only the last one written: the hashes over the plain passwords.
    const QCommandLineOption* outputs[] = {&option.output, &option.plain, &option.slips};
    qsizetype earlier = -1;
    const qsizetype later = firstRepeatedFile({options.outputFile, options.plainFile, options.slipsFile}, earlier);
    if (later >= 0)
        return refuse(longName(*outputs[later]),
                      QStringLiteral("names the same file as ") + longName(*outputs[earlier]));
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
    for (const QCommandLineOption* slipsOnly : {&option.title, &option.paper}) {
        if (parser.isSet(*slipsOnly) && options.slipsFile.isEmpty())
            return refuse(longName(*slipsOnly), QStringLiteral("needs --slips"));
    }
    options.slips.title = parser.value(option.title);
    if (const auto usage = rosterOptions.read(parser, options.roster, options.usernames, options.slips))
        return refuse(usage->option, usage->reason);
    const QString formatName = QString::fromLatin1(options.format->name);
    if (options.format->needsUsernames && options.usernames == UsernameStyle::None)
        return refuse(longName(option.format),
                      QStringLiteral("%1 records need usernames (--usernames or --names)").arg(formatName));
    if (options.hash && options.plainFile.isEmpty() && options.slipsFile.isEmpty())
        return refuse(longName(option.hash), QStringLiteral("the plain passwords need --plain FILE or --slips FILE"));

    options.force = parser.isSet(option.force);
    options.allowSystemAccounts = parser.isSet(option.systemAccounts);
    options.entropy = parser.isSet(option.entropy);
    options.recipe.excludeSimilar = parser.isSet(option.excludeSimilar);
    options.recipe.everyClass = parser.isSet(option.everyClass);
    options.recipe.exclude = parser.value(option.exclude).toUtf8();
    if (options.usernames == UsernameStyle::Random) {
        for (const char c : PasswordMaker::charactersOf(options.recipe)) {
            if (options.format->refusal(QByteArrayView(&c, 1)).isEmpty())
                continue;
            return refuse(longName(option.format),
                          QStringLiteral("random usernames of these characters may hold '%1', which %2 records "
                                         "cannot (--exclude '%1' leaves it out)")
                              .arg(QString(QLatin1Char(c)), formatName));
        }
    }
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
    if (const auto usage =
            rosterOptions.holdToFormat(parser, *options.format, options.hash, options.roster, options.recipe))
        return refuse(usage->option, usage->reason);
    const NameUses uses = nameUsesOf(*options.format, !options.plainFile.isEmpty(), !options.slipsFile.isEmpty());
    if (const std::optional<QString> refusal = applyNameAndSpreadsheetRules(uses, options.usernames, options.count,
                                                                            options.numbering.prefix, options.recipe))
        return {CommandLine::Action::Refuse, {}, *refusal};
    return {CommandLine::Action::Generate, options, {}};
}
