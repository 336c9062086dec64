// Timings of the work a user waits for. Each figure prints as one line "NAME VALUE UNIT", the median of
// several runs after one untimed warm-up. Names given as arguments select the figures to run.
#include "app/CVarnelDlg.h"
#include "app/Desktop.h"
#include "engine/Alphabets.h"
#include "engine/PairMaker.h"
#include "engine/PassphraseMaker.h"
#include "engine/RandomSource.h"
#include "list/ResultList.h"
#include "resources/Layouts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <sched.h>
#include <spawn.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int Runs = 7;
constexpr int BatchPairs = 9999;
constexpr int BatchCharacters = 49;

// One timed run of a figure, returning its value.
using Run = std::function<double()>;

// A figure sets up what its runs share and hands back one run. A run that finds its work went wrong
// reports it and ends the program: a figure for the wrong work is worse than none.
struct Figure
{
    const char* name;
    const char* unit;
    std::function<Run()> prepare;
};

[[noreturn]] void fail(const char* figure, const char* why)
{
    std::fprintf(stderr, "varnel_bench: %s: %s\n", figure, why);
    std::exit(EXIT_FAILURE);
}

double millisecondsSince(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Answers whatever the window asks without a modal loop and remembers whether it was asked anything.
class QuietDesktop final : public Desktop
{
public:
    void showMessage(QWidget*, const QString&, const QString&, Icon) override { ++messages; }
    bool askYesNo(QWidget*, const QString&, const QString&) override { return true; }
    std::optional<QString> chooseFile(QWidget*, const FileChooserSetup&) override { return nextFile; }
    int runModal(QDialog&) override { return 0; }
    void shellOpen(const QString&, const QString&, int) override { }
    void exitProcess(int) override { }

    int messages = 0;
    std::optional<QString> nextFile;
};

// The main window as the user has it, started in a directory of its own so that its preferences file
// neither comes from nor lands in the directory the bench was started in.
class BenchWindow
{
public:
    BenchWindow() : previousDir_(QDir::currentPath())
    {
        if (!dir_.isValid() || !QDir::setCurrent(dir_.path()))
            fail("window", "no temporary working directory");
        window_ = std::make_unique<CVarnelDlg>(desktop_, SystemRandomSource::instance());
        window_->OnInitWindow();
        window_->show();
        QCoreApplication::processEvents();
    }
    ~BenchWindow()
    {
        window_.reset();
        QDir::setCurrent(previousDir_);
    }
    Q_DISABLE_COPY_MOVE(BenchWindow)

    CVarnelDlg& window() { return *window_; }
    QuietDesktop& desktop() { return desktop_; }
    QString path(const QString& name) const { return dir_.filePath(name); }

    void setNumber(int id, int value)
    {
        auto* edit = qobject_cast<QLineEdit*>(window_->control(id));
        if (!edit)
            fail("window", "a number field is missing");
        edit->setText(QString::number(value));
    }
    void click(int id)
    {
        auto* button = qobject_cast<QAbstractButton*>(window_->control(id));
        if (!button)
            fail("window", "a button is missing");
        button->click();
    }
    // Times Generate on an emptied list, from the click until the list has been laid out and painted once.
    double timeGenerate()
    {
        window_->resultList().clear();
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        click(IdGenerate);
        QCoreApplication::processEvents();
        return millisecondsSince(timer);
    }

private:
    QString previousDir_;
    QTemporaryDir dir_;
    QuietDesktop desktop_;
    std::unique_ptr<CVarnelDlg> window_;
};

// The largest batch the Generate button makes: 9999 pairs of 49 characters from the 86-character
// alphabet (Mixed case, Alpha-Num-Sym) with random usernames, from the click until the list has been
// laid out and painted once.
Run prepareGenerateBatch()
{
    auto bench = std::make_shared<BenchWindow>();
    bench->setNumber(IdPairCount, BatchPairs);
    bench->setNumber(IdCharacterCount, BatchCharacters);
    bench->click(IdMixedCase);
    bench->click(IdAlphaNumSym);
    bench->click(IdRandomUsername);
    return [bench] {
        const char* name = "generate_9999x49";
        const double elapsed = bench->timeGenerate();

        const ResultList& list = bench->window().resultList();
        if (bench->desktop().messages != 0)
            fail(name, "the window showed a message instead of generating");
        if (list.rowCount() != BatchPairs)
            fail(name, "the list does not hold the whole batch");
        const CredentialPair top = list.pairAt(0);
        if (top.password.size() != BatchCharacters || top.username.size() != BatchCharacters)
            fail(name, "the pairs are not of the chosen length");
        return elapsed;
    };
}

// The draws of that batch alone: the same 9999 pairs of 49-character texts, made as Generate makes them,
// with no window.
Run prepareBatchDraws()
{
    return [] {
        PasswordRecipe recipe;
        recipe.style = PasswordStyle::AlphaNumSym;
        recipe.letterCase = LetterCase::Mixed;
        recipe.length = BatchCharacters;
        PairMaker maker(recipe, UsernameStyle::Random, BatchPairs, SystemRandomSource::instance());
        qsizetype drawn = 0;
        QElapsedTimer timer;
        timer.start();
        for (CredentialPair pair; maker.next(pair);)
            drawn += pair.password.size() + pair.username.size();
        const double elapsed = millisecondsSince(timer);
        if (drawn != qsizetype(2) * BatchPairs * BatchCharacters)
            fail("draws_979902", "the texts are not of the chosen length");
        return elapsed;
    };
}

// A million passphrases of six words of the large list, made in the process, the words joined by "-".
Run preparePassphrases()
{
    return [] {
        const char* name = "passphrases_1m_x6";
        QString error;
        auto maker = PassphraseMaker::create(PassphraseRecipe(), SystemRandomSource::instance(), error);
        if (!maker)
            fail(name, qPrintable(error));
        qsizetype words = 0;
        QByteArray text;
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < 1'000'000; ++i) {
            if (!maker->makePassword(text))
                fail(name, "the random source gave no bytes");
            words += text.count('-') + 1;
        }
        const double elapsed = millisecondsSince(timer);
        if (words != 6'000'000)
            fail(name, "the passphrases are not of six words");
        return elapsed;
    };
}

// A username file of the given number of lines, names of 4 to 49 letters.
void writeUsernameFile(const QString& path, int lines)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        fail("import", "cannot write the username file");
    const QByteArrayView letters = SelectAlphabet(LetterCase::Lower, PasswordStyle::Alphabetic);
    RandomSource& source = SystemRandomSource::instance();
    QByteArray content;
    for (int line = 0; line < lines; ++line) {
        content += ComposeRandomText(4 + line % 46, PasswordStyle::Alphabetic, letters, source);
        content += '\n';
    }
    if (file.write(content) != content.size() || !file.flush())
        fail("import", "cannot write the username file");
}

// A window whose Generate pairs every name of a username file of the given number of lines with an
// 8-character password.
std::shared_ptr<BenchWindow> importingWindow(int lines)
{
    auto bench = std::make_shared<BenchWindow>();
    const QString names = bench->path(QStringLiteral("names-%1.txt").arg(lines));
    writeUsernameFile(names, lines);
    bench->desktop().nextFile = names;
    bench->setNumber(IdCharacterCount, 8);
    bench->click(IdLoadUsernames);
    return bench;
}

// Generate with "Load Usernames", from the click until the list has been laid out once.
std::function<Run()> prepareImport(int lines, const char* name)
{
    return [lines, name] {
        auto bench = importingWindow(lines);
        return Run([bench, lines, name] {
            const double elapsed = bench->timeGenerate();

            const ResultList& list = bench->window().resultList();
            if (bench->desktop().messages != 0)
                fail(name, "the window showed a message instead of importing");
            if (list.rowCount() != lines || list.pairAt(0).password.size() != 8)
                fail(name, "the list does not hold a pair for every name");
            return elapsed;
        });
    };
}

// Save of that list, one pair per line, from the click until the file is in place.
std::function<Run()> prepareExport(int lines, const char* name)
{
    return [lines, name] {
        auto bench = importingWindow(lines);
        bench->click(IdGenerate);
        bench->click(IdOnePerLine);
        const QString target = bench->path(QStringLiteral("export.txt"));
        bench->desktop().nextFile = target;
        return Run([bench, lines, name, target] {
            QElapsedTimer timer;
            timer.start();
            bench->click(IdSave);
            QCoreApplication::processEvents();
            const double elapsed = millisecondsSince(timer);

            QFile written(target);
            if (bench->desktop().messages != 0 || !written.open(QIODevice::ReadOnly))
                fail(name, "the list was not saved");
            if (written.readAll().count('\n') != lines)
                fail(name, "the file does not hold a line for every pair");
            return elapsed;
        });
    };
}

// The process's peak resident memory so far, after the million-row list was made and saved.
std::function<Run()> preparePeakMemory()
{
    return [] {
        return Run([] {
            QFile status(QStringLiteral("/proc/self/status"));
            if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
                fail("peak_rss_1m", "no /proc/self/status");
            for (const QByteArray& line : status.readAll().split('\n')) {
                if (line.startsWith("VmHWM:"))
                    return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
            }
            fail("peak_rss_1m", "no VmHWM line");
        });
    };
}

// varnel-cli with its arguments, as execve takes them.
class CliCommand
{
public:
    explicit CliCommand(const QStringList& arguments)
    {
        texts_.append(QByteArrayLiteral(VARNEL_CLI));
        for (const QString& argument : arguments)
            texts_.append(QFile::encodeName(argument));
        for (QByteArray& text : texts_)
            argv_.push_back(text.data());
        argv_.push_back(nullptr);
    }
    char* const* argv() { return argv_.data(); }

private:
    QByteArrayList texts_;
    std::vector<char*> argv_;
};

// One run of varnel-cli as a user starts it, standard output going to /dev/null: the time from the start
// until it has ended.
double timeCli(const char* figure, const QStringList& arguments)
{
    CliCommand command(arguments);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    QElapsedTimer timer;
    timer.start();
    pid_t child = 0;
    int status = 0;
    const bool ran = posix_spawn(&child, command.argv()[0], &actions, nullptr, command.argv(), environ) == 0
        && waitpid(child, &status, 0) == child;
    const double elapsed = millisecondsSince(timer);
    posix_spawn_file_actions_destroy(&actions);
    if (!ran || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        fail(figure, "varnel-cli did not finish its work");
    return elapsed;
}

// The most memory a run of varnel-cli held at once (VmHWM), read when it is about to end. The kernel's own
// figure for a child (ru_maxrss) would count the bench's memory too, which the child had before its exec.
double peakMemoryOfCli(const char* figure, const QStringList& arguments)
{
    CliCommand command(arguments);
    const pid_t child = fork();
    if (child == 0) {
        const int devNull = open("/dev/null", O_WRONLY);
        if (devNull < 0 || dup2(devNull, STDOUT_FILENO) < 0 || ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0)
            _exit(127);
        execv(command.argv()[0], command.argv());
        _exit(127);
    }
    int status = 0;
    // The child stops once at its exec, then just before it ends.
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFSTOPPED(status)
        || ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACEEXIT | PTRACE_O_EXITKILL) != 0
        || ptrace(PTRACE_CONT, child, nullptr, nullptr) != 0 || waitpid(child, &status, 0) != child
        || status >> 8 != (SIGTRAP | (PTRACE_EVENT_EXIT << 8)))
        fail(figure, "varnel-cli could not be followed to its end");
    double peak = -1;
    QFile memory(QStringLiteral("/proc/%1/status").arg(child));
    if (memory.open(QIODevice::ReadOnly | QIODevice::Text)) {
        for (const QByteArray& line : memory.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                peak = line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
        }
    }
    if (ptrace(PTRACE_CONT, child, nullptr, nullptr) != 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)
        || WEXITSTATUS(status) != 0)
        fail(figure, "varnel-cli did not finish its work");
    if (peak < 0)
        fail(figure, "no VmHWM line");
    return peak;
}

// The same run held to one processor: the child inherits the bench's affinity, which is set for it and then
// given back.
double timeCliOnOneCore(const char* figure, const QStringList& arguments)
{
    cpu_set_t all;
    CPU_ZERO(&all);
    if (sched_getaffinity(0, sizeof all, &all) != 0)
        fail(figure, "the processors cannot be read");
    cpu_set_t one;
    CPU_ZERO(&one);
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (CPU_ISSET(cpu, &all)) {
            CPU_SET(cpu, &one);
            break;
        }
    }
    if (sched_setaffinity(0, sizeof one, &one) != 0)
        fail(figure, "the run cannot be held to one processor");
    const double elapsed = timeCli(figure, arguments);
    sched_setaffinity(0, sizeof all, &all);
    return elapsed;
}

qint64 sizeOf(const QString& path)
{
    return QFileInfo(path).size();
}

// A million passwords of 16 letters and digits, alone, into a new file.
Run prepareCliPasswords()
{
    auto dir = std::make_shared<QTemporaryDir>();
    return [dir] {
        const char* name = "cli_1m_x16";
        const QString target = dir->filePath(QStringLiteral("passwords.txt"));
        QFile::remove(target);
        const double elapsed = timeCli(name,
                                       {QStringLiteral("-n"), QStringLiteral("1000000"), QStringLiteral("-l"),
                                        QStringLiteral("16"), QStringLiteral("-s"), QStringLiteral("alphanumeric"),
                                        QStringLiteral("-c"), QStringLiteral("mixed"), QStringLiteral("-u"),
                                        QStringLiteral("none"), QStringLiteral("-o"), target});
        if (sizeOf(target) != 17'000'000)
            fail(name, "the file does not hold a million lines of 16 characters");
        return elapsed;
    };
}

// A million passphrases of six words of the large list, alone, into a new file: within six times the figure above.
Run prepareCliPassphrases()
{
    auto dir = std::make_shared<QTemporaryDir>();
    return [dir] {
        const char* name = "cli_1m_words";
        const QString target = dir->filePath(QStringLiteral("passphrases.txt"));
        QFile::remove(target);
        const double elapsed =
            timeCli(name,
                    {QStringLiteral("-n"), QStringLiteral("1000000"), QStringLiteral("-s"), QStringLiteral("words"),
                     QStringLiteral("-l"), QStringLiteral("6"), QStringLiteral("-o"), target});
        QFile written(target);
        if (!written.open(QIODevice::ReadOnly))
            fail(name, "the passphrases were not written");
        const QByteArray passphrases = written.readAll();
        if (passphrases.count('\n') != 1'000'000 || passphrases.count('-') != 5'000'000)
            fail(name, "the file does not hold a million passphrases of six words");
        return elapsed;
    };
}

// A password of 8 digits for each of a million names read from a file, into a new file.
Run prepareCliNames()
{
    auto dir = std::make_shared<QTemporaryDir>();
    const QString names = dir->filePath(QStringLiteral("names.txt"));
    writeUsernameFile(names, 1'000'000);
    return [dir, names] {
        const char* name = "cli_names_1m";
        const QString target = dir->filePath(QStringLiteral("pairs.txt"));
        QFile::remove(target);
        // The passwords of the first release's defaults, 8 digits, so that the figure stays comparable.
        const double elapsed = timeCli(name,
                                       {QStringLiteral("-f"), names, QStringLiteral("-l"), QStringLiteral("8"),
                                        QStringLiteral("-s"), QStringLiteral("numeric"), QStringLiteral("-o"), target});
        if (sizeOf(target) != sizeOf(names) + 9 * 1'000'000)
            fail(name, "the file does not hold a pair for every name");
        return elapsed;
    };
}

// Ten million pairs of the first release's defaults (8 digits and a random username), written to /dev/null.
Run prepareCliPeakMemory()
{
    return [] {
        return peakMemoryOfCli("cli_peak_rss_10m",
                               {QStringLiteral("-n"), QStringLiteral("10000000"), QStringLiteral("-l"),
                                QStringLiteral("8"), QStringLiteral("-s"), QStringLiteral("numeric"),
                                QStringLiteral("-c"), QStringLiteral("upper"), QStringLiteral("-u"),
                                QStringLiteral("random")});
    };
}

// A class's numbered accounts with their slips, ten a page, the records into a file.
QStringList slipsArguments(const QTemporaryDir& dir, int count)
{
    return {QStringLiteral("-n"),       QString::number(count),
            QStringLiteral("-u"),       QStringLiteral("numbered"),
            QStringLiteral("--prefix"), QStringLiteral("student"),
            QStringLiteral("--digits"), QStringLiteral("5"),
            QStringLiteral("-o"),       dir.filePath(QStringLiteral("accounts.txt")),
            QStringLiteral("--slips"),  dir.filePath(QStringLiteral("slips.pdf")),
            QStringLiteral("--title"),  QStringLiteral("Class 7B, school network"),
            QStringLiteral("--force")};
}

// A thousand slips, the whole process from its start.
Run prepareCliSlips()
{
    auto dir = std::make_shared<QTemporaryDir>();
    return [dir] {
        const char* name = "cli_slips_1000";
        const double elapsed = timeCli(name, slipsArguments(*dir, 1000));
        if (sizeOf(dir->filePath(QStringLiteral("slips.pdf"))) < 100'000)
            fail(name, "the slips file is missing or too small for a hundred pages");
        return elapsed;
    };
}

// The most memory ten thousand slips hold at once: pages go to the file as they are made.
Run prepareCliSlipsPeakMemory()
{
    auto dir = std::make_shared<QTemporaryDir>();
    return [dir] {
        return peakMemoryOfCli("cli_slips_peak_rss_10000", slipsArguments(*dir, 10'000));
    };
}

// A hundred yescrypt hashes at the default cost, for a chpasswd file and the plain passwords beside it.
QStringList hashArguments(const QTemporaryDir& dir)
{
    return {QStringLiteral("-n"),      QStringLiteral("100"),
            QStringLiteral("-u"),      QStringLiteral("numbered"),
            QStringLiteral("-F"),      QStringLiteral("chpasswd"),
            QStringLiteral("--hash"),  QStringLiteral("yescrypt"),
            QStringLiteral("-o"),      dir.filePath(QStringLiteral("accounts")),
            QStringLiteral("--plain"), dir.filePath(QStringLiteral("plain.csv")),
            QStringLiteral("--force")};
}

// On every core the process may use.
Run prepareCliHash()
{
    auto dir = std::make_shared<QTemporaryDir>();
    return [dir] {
        return timeCli("cli_hash_100_yescrypt", hashArguments(*dir));
    };
}

// The same on one core, to which the figure above compares.
Run prepareCliHashOneCore()
{
    auto dir = std::make_shared<QTemporaryDir>();
    return [dir] {
        return timeCliOnOneCore("cli_hash_100_yescrypt_1core", hashArguments(*dir));
    };
}

// A class list of 100,000 people as a European spreadsheet saves it (byte order mark, ';', CRLF), accented,
// Polish and Chinese names among them, made into a Google upload file.
QStringList rosterArguments(const QTemporaryDir& dir)
{
    const QString roster = dir.filePath(QStringLiteral("roster.csv"));
    if (!QFile::exists(roster)) {
        static const char* const Firsts[] = {"Anna", "Zoë", "Łukasz", "Seán", "Mary-Jane", "Noah", "王", "Emma"};
        static const char* const Lasts[] = {"Berg", "Ångström", "Żółć", "O'Brien", "Groß", "伟", "Smith"};
        QByteArray content = "\xef\xbb\xbf"
                             "First name;Last name;Class\r\n";
        for (int i = 0; i < 100'000; ++i) {
            content += QByteArray(Firsts[i % 8]) + ';' + Lasts[i % 7] + QByteArray::number(i % 997) + ';'
                + QByteArray::number(i % 30) + "\r\n";
        }
        QFile file(roster);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.flush())
            fail("cli_roster_google_100k", "cannot write the roster");
    }
    return {QStringLiteral("--roster"), roster,
            QStringLiteral("-F"),       QStringLiteral("google"),
            QStringLiteral("--domain"), QStringLiteral("school.example"),
            QStringLiteral("-o"),       dir.filePath(QStringLiteral("google.csv")),
            QStringLiteral("--force")};
}

Run prepareCliRoster()
{
    auto dir = std::make_shared<QTemporaryDir>();
    return [dir] {
        const char* name = "cli_roster_google_100k";
        const double elapsed = timeCli(name, rosterArguments(*dir));
        if (sizeOf(dir->filePath(QStringLiteral("google.csv"))) < 100'000 * 40)
            fail(name, "the Google file does not hold a row for every person");
        return elapsed;
    };
}

Run prepareCliRosterPeakMemory()
{
    auto dir = std::make_shared<QTemporaryDir>();
    return [dir] {
        return peakMemoryOfCli("cli_roster_google_peak_rss_100k", rosterArguments(*dir));
    };
}

const Figure Figures[] = {
    {"generate_9999x49", "ms", prepareGenerateBatch},
    {"draws_979902", "ms", prepareBatchDraws},
    {"passphrases_1m_x6", "ms", preparePassphrases},
    {"import_100k", "ms", prepareImport(100'000, "import_100k")},
    {"import_1m", "ms", prepareImport(1'000'000, "import_1m")},
    {"export_100k", "ms", prepareExport(100'000, "export_100k")},
    {"export_1m", "ms", prepareExport(1'000'000, "export_1m")},
    {"peak_rss_1m", "MiB", preparePeakMemory()},
    {"cli_1m_x16", "ms", prepareCliPasswords},
    {"cli_1m_words", "ms", prepareCliPassphrases},
    {"cli_names_1m", "ms", prepareCliNames},
    {"cli_peak_rss_10m", "MiB", prepareCliPeakMemory},
    {"cli_slips_1000", "ms", prepareCliSlips},
    {"cli_slips_peak_rss_10000", "MiB", prepareCliSlipsPeakMemory},
    {"cli_hash_100_yescrypt", "ms", prepareCliHash},
    {"cli_hash_100_yescrypt_1core", "ms", prepareCliHashOneCore},
    {"cli_roster_google_100k", "ms", prepareCliRoster},
    {"cli_roster_google_peak_rss_100k", "MiB", prepareCliRosterPeakMemory},
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void measure(const Figure& figure)
{
    const Run run = figure.prepare();
    run();
    std::vector<double> values;
    for (int i = 0; i < Runs; ++i)
        values.push_back(run());
    std::printf("%s %.2f %s\n", figure.name, median(values), figure.unit);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QStringList wanted = QCoreApplication::arguments().mid(1);
    for (const QString& name : std::as_const(wanted)) {
        const bool known = std::any_of(std::begin(Figures), std::end(Figures),
                                       [&name](const Figure& figure) { return name == QLatin1String(figure.name); });
        if (!known) {
            std::fprintf(stderr, "varnel_bench: no figure named %s; known:", qPrintable(name));
            for (const Figure& figure : Figures)
                std::fprintf(stderr, " %s", figure.name);
            std::fprintf(stderr, "\n");
            return EXIT_FAILURE;
        }
    }
    for (const Figure& figure : Figures) {
        if (wanted.isEmpty() || wanted.contains(QLatin1String(figure.name)))
            measure(figure);
    }
    return EXIT_SUCCESS;
}
