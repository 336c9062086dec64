#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QString cli()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromUtf8(VARNEL_CLI_FROM_TEST));
}

QString helpText()
{
    QProcess process;
    process.start(cli(), {u"--help"_s});
    process.waitForFinished(60'000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The formats as --help names them: "(default: lines): lines, csv, table, chpasswd or json.".
QStringList helpFormats()
{
    const QString help = helpText().simplified();
    const QRegularExpressionMatch listed =
        QRegularExpression(u"--format <FORMAT> .*?\\(default: \\w+\\): (.*?)\\. "_s).match(help);
    return listed.captured(1).split(QRegularExpression(u", | or "_s));
}

// Every long option --help lists.
QStringList helpOptions()
{
    QStringList options;
    const QRegularExpression option(u"^  (?:-\\w, )?--([\\w-]+)"_s, QRegularExpression::MultilineOption);
    for (const QRegularExpressionMatch& match : option.globalMatch(helpText()))
        options.append(match.captured(1));
    return options;
}

QString script(const QString& name)
{
    QFile file(u":/completions/"_s + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// What bash's completion offers for a line typed in a folder, the cursor at its end. Bash splits "=" into a
// word of its own.
QStringList bashReplies(const QString& folder, const QString& line)
{
    const QStringList words = QString(line).replace(u'=', u" = "_s).split(u' ');
    const QString run = uR"(
source /usr/share/bash-completion/bash_completion || exit 3
source "$1" || exit 4
COMP_LINE=$2
COMP_POINT=${#COMP_LINE}
shift 2
COMP_WORDS=("$@")
COMP_CWORD=$(($# - 1))
_varnel_cli varnel-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
printf '%s\n' "${COMPREPLY[@]}"
)"_s;
    const QString completion = QDir(folder).filePath(u"../varnel-cli.bash"_s);
    QFile file(completion);
    if (!file.open(QIODevice::WriteOnly) || file.write(script(u"varnel-cli.bash"_s).toUtf8()) <= 0)
        return {u"<no completion file>"_s};
    file.close();
    QProcess bash;
    bash.setWorkingDirectory(folder);
    bash.start(u"bash"_s, QStringList{u"-c"_s, run, u"bash"_s, completion, line} + words);
    if (!bash.waitForFinished(60'000) || bash.exitCode() != 0)
        return {u"<bash failed: "_s + QString::fromLocal8Bit(bash.readAllStandardError()) + u'>'};
    QStringList replies = QString::fromUtf8(bash.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    replies.sort();
    return replies;
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

} // namespace

class TestCompletions final : public QObject
{
    Q_OBJECT

private slots:
    void bashCompletesTheCommandLine_data();
    void bashCompletesTheCommandLine();
    void everyShellKnowsEveryOptionAndFormat_data();
    void everyShellKnowsEveryOptionAndFormat();
};

void TestCompletions::bashCompletesTheCommandLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("replies");

    QTest::newRow("-F offers the formats of --help") << u"varnel-cli -F "_s << helpFormats();
    QTest::newRow("--for completes to --force and --format")
        << u"varnel-cli --for"_s << QStringList{u"--force"_s, u"--format"_s};
    QTest::newRow("a format after --format= is completed too")
        << u"varnel-cli --format=c"_s << QStringList{u"chpasswd"_s, u"csv"_s};
    QTest::newRow("an option of fixed values offers them, here --hash its methods")
        << u"varnel-cli --hash "_s << QStringList{u"sha512crypt"_s, u"yescrypt"_s};
    QTest::newRow("--wordlist offers the lists of the program and the files")
        << u"varnel-cli --wordlist "_s
        << QStringList{u"accounts"_s, u"folder"_s, u"large"_s, u"mywords.txt"_s, u"short"_s, u"slips.pdf"_s};
    QTest::newRow("--slips offers PDF files and folders")
        << u"varnel-cli --slips "_s << QStringList{u"folder"_s, u"slips.pdf"_s};
    QTest::newRow("-o completes a file name") << u"varnel-cli -o ac"_s << QStringList{u"accounts"_s};
    QTest::newRow("a number is not guessed at") << u"varnel-cli -n "_s << QStringList{};
}

void TestCompletions::bashCompletesTheCommandLine()
{
    QFETCH(QString, line);
    QFETCH(QStringList, replies);

    QTemporaryDir home;
    QVERIFY(home.isValid());
    const QString folder = home.filePath(u"work"_s);
    QVERIFY(QDir(home.path()).mkpath(u"work/folder"_s));
    for (const QString& name : {u"accounts"_s, u"mywords.txt"_s, u"slips.pdf"_s}) {
        QFile file(QDir(folder).filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    QCOMPARE(bashReplies(folder, line), sorted(replies));
}

void TestCompletions::everyShellKnowsEveryOptionAndFormat_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("formats");
    QTest::addColumn<QString>("option");

    QTest::newRow("bash") << u"varnel-cli.bash"_s << u"formats='([^']*)'"_s << u"(?<![\\w-])--%1(?![\\w-])"_s;
    QTest::newRow("zsh") << u"_varnel-cli"_s << u"formats=\\(([^)]*)\\)"_s << u"(?<![\\w-])--%1(?![\\w-])"_s;
    QTest::newRow("fish") << u"varnel-cli.fish"_s << u"set -l formats ([^\\n]*)"_s << u" -l %1(?![\\w-])"_s;
}

// The completions are written by hand: every option and format the program lists must be in each of them.
void TestCompletions::everyShellKnowsEveryOptionAndFormat()
{
    QFETCH(QString, file);
    QFETCH(QString, formats);
    QFETCH(QString, option);

    const QString completion = script(file);
    QVERIFY(!completion.isEmpty());
    const QRegularExpressionMatch listed = QRegularExpression(formats).match(completion);
    QVERIFY(listed.hasMatch());
    QCOMPARE(listed.captured(1).split(u' ', Qt::SkipEmptyParts), helpFormats());
    const QStringList options = helpOptions();
    QVERIFY(options.size() > 20);
    for (const QString& name : options)
        QVERIFY2(QRegularExpression(option.arg(name)).match(completion).hasMatch(), qPrintable(name));
}

QTEST_GUILESS_MAIN(TestCompletions)
#include "tst_completions.moc"
