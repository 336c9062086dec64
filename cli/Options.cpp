#include "cli/Options.h"

#include "list/RecordFormat.h"

#include <QStringList>

namespace {

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

} // namespace

Options::Options()
    : count(withValue({QStringLiteral("n"), QStringLiteral("count")},
                      "Make N passwords, 1 to 1000000000000 (default: 1).", "N"))
    , length(withValue({QStringLiteral("l"), QStringLiteral("length")},
                       "Characters per password, 1 to 1024 (default: 16); with -s words, words per passphrase, "
                       "1 to 100000 (default: 6).",
                       "N"))
    , style(withValue({QStringLiteral("s"), QStringLiteral("style")},
                      "numeric (digits), alphabetic (letters), alphanumeric (letters and digits), symbols "
                      "(letters, digits and symbols) or words (default: alphanumeric). words makes "
                      "passphrases of -l words.",
                      "STYLE"))
    , letterCase(withValue({QStringLiteral("c"), QStringLiteral("case")},
                           "Letters in upper, lower or mixed case; numeric has none (default: mixed).", "CASE"))
    , wordList(withValue({QStringLiteral("wordlist")},
                         "The words of -s words: large (7776 words, 12.9 bits each), short (1296 short, easy "
                         "words, 10.3 bits each) or FILE, a word a line, at least 1000 (default: large).",
                         "LIST"))
    , separator(withValue({QStringLiteral("separator")},
                          "TEXT between the words of -s words, which leave out the words holding it "
                          "(default: -).",
                          "TEXT"))
    , capitalize(flag({QStringLiteral("capitalize")}, "With -s words, each word's first letter in upper case."))
    , number(flag({QStringLiteral("number")}, "With -s words, a digit 0 to 9 after one of the words."))
    , rules(withValue({QStringLiteral("rules")},
                      "Passwords made to a site's RULES: \"minlength: 8; maxlength: 32; required: lower, "
                      "upper; required: digit; allowed: [-_.!]; max-consecutive: 2\", the classes upper, "
                      "lower, digit, special and ascii-printable or [...] sets; -l within their range "
                      "(default: 16 held inside it), --exclude after them. Not with -s, -c or --every-class.",
                      "RULES"))
    , usernames(withValue({QStringLiteral("u"), QStringLiteral("usernames")},
                          "random (drawn after each password, from the same characters; not with -s words), "
                          "numbered (1, 2, 3, ... in output order) or none (default: none).",
                          "KIND"))
    , prefix(withValue({QStringLiteral("prefix")},
                       "Numbered usernames start with TEXT: --prefix student gives student1, "
                       "student2, ...",
                       "TEXT"))
    , digits(withValue({QStringLiteral("digits")},
                       "Numbered usernames have at least N digits, 1 to 18, zeros in front: "
                       "--digits 3 gives 001, 002, ...",
                       "N"))
    , start(withValue({QStringLiteral("start")},
                      "Numbered usernames count from N, 0 to 999999999999999999 (default: 1).", "N"))
    , names(withValue({QStringLiteral("f"), QStringLiteral("names")},
                      "One password for every name of FILE, a name a line; FILE '-' is "
                      "standard input. Takes the place of --count and --usernames. Names "
                      "that must not become usernames end the run (see NAMES in the manual).",
                      "FILE"))
    , format(withValue({QStringLiteral("F"), QStringLiteral("format")}, formatsHelp(), "FORMAT"))
    , output(withValue({QStringLiteral("o"), QStringLiteral("output")},
                       "Write FILE instead of standard output ('-'); a new file is readable by its owner only.",
                       "FILE"))
    , force(flag({QStringLiteral("force")}, "Replace the files of --output, --plain and --slips if they exist."))
    , systemAccounts(flag({QStringLiteral("allow-system-accounts")},
                          "Let root and the system's other accounts be usernames of accounts: those of /etc/passwd "
                          "whose uid is outside UID_MIN to UID_MAX of /etc/login.defs, such as daemon and nobody."))
    , hash(withValue({QStringLiteral("hash")},
                     "Write the crypt(3) hash of each password in its place, yescrypt or "
                     "sha512crypt, for chpasswd -e and the like. Needs --plain or --slips for "
                     "the passwords themselves.",
                     "METHOD"))
    , hashCost(withValue({QStringLiteral("hash-cost")},
                         "libxcrypt's cost for --hash: yescrypt 1 to 11, sha512crypt rounds 1000 to "
                         "999999999 (default: libxcrypt's own).",
                         "N"))
    , plain(withValue({QStringLiteral("plain")},
                      "Also write the same accounts, passwords in plain text, to FILE as table "
                      "records; readable by its owner only. '-' is standard output.",
                      "FILE"))
    , slips(withValue({QStringLiteral("slips")},
                      "Also write a PDF of slips to cut out and hand over, one an account, ten "
                      "a page; readable by its owner only. '-' is standard output.",
                      "FILE"))
    , title(
          withValue({QStringLiteral("title")}, "A line of TEXT at the top of every slip (a class, a system).", "TEXT"))
    , paper(withValue({QStringLiteral("paper")}, "The slips' paper, a4 or letter (default: the locale's paper).",
                      "PAPER"))
    , exclude(withValue({QStringLiteral("exclude")},
                        "Leave the characters of CHARS out of the characters (of random "
                        "usernames too).",
                        "CHARS"))
    , excludeSimilar(flag({QStringLiteral("exclude-similar")},
                          "Leave the look-alikes 0, O, 1, l and I out of the characters (of random usernames too)."))
    , everyClass(flag({QStringLiteral("every-class")},
                      "Each password holds at least one character of every class its "
                      "characters have (upper, lower, digit, symbol), every such password "
                      "equally likely. Random usernames are not held to it."))
    , entropy(flag({QStringLiteral("entropy")},
                   "First print \"entropy: B bits per password\" on standard error: log2 of "
                   "the number of passwords these options make; then what --exclude "
                   "named that the characters do not hold."))
    , help(flag({QStringLiteral("h"), QStringLiteral("help")}, "Show this help and end."))
    , version(flag({QStringLiteral("V"), QStringLiteral("version")}, "Show the version and end."))
{ }

QList<QCommandLineOption> Options::all() const
{
    // The roster's options after the others, where they were added.
    return QList<QCommandLineOption>{count,      length,         style,      letterCase, wordList, separator,
                                     capitalize, number,         rules,      usernames,  prefix,   digits,
                                     start,      names,          format,     output,     force,    systemAccounts,
                                     hash,       hashCost,       plain,      slips,      title,    paper,
                                     exclude,    excludeSimilar, everyClass, entropy,    help,     version}
    + roster.options();
}

// The parser wraps the options' descriptions to the width of a terminal, but not the program's.
QString programDescription()
{
    const QString text = QStringLiteral(
        "Makes random passwords or passphrases, alone or paired with usernames, from the kernel's secure random "
        "numbers, and writes one record for each pair in the form the next program reads; it can put hashes in "
        "the records for the system and print the passwords on slips for the people.");
    constexpr qsizetype Width = 80;
    QString wrapped;
    qsizetype lineStart = 0;
    for (const QString& word : text.split(QLatin1Char(' '))) {
        if (wrapped.size() > lineStart && wrapped.size() - lineStart + 1 + word.size() > Width) {
            wrapped += QLatin1Char('\n');
            lineStart = wrapped.size();
        } else if (wrapped.size() > lineStart) {
            wrapped += QLatin1Char(' ');
        }
        wrapped += word;
    }
    return wrapped;
}
