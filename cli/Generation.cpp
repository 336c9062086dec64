#include "cli/Generation.h"

#include "cli/CommandLine.h"
#include "engine/PairMaker.h"
#include "engine/RandomSource.h"
#include "list/ExportFormat.h"
#include "prefs/LineReader.h"
#include "prefs/NativeFileName.h"
#include "prefs/ProcessStart.h"
#include "prefs/SafeFileWriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QIODevice>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int complain(const QString& what, const QString& reason)
{
    const QByteArray line = (QCoreApplication::applicationName() + QStringLiteral(": ") + what + QStringLiteral(": ")
                             + reason + QLatin1Char('\n'))
                                .toLocal8Bit();
    std::fwrite(line.constData(), 1, std::size_t(line.size()), stderr);
    return 1;
}

QString reasonOf(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The names file, or standard input for "-", read as it is: each read returns whatever has arrived, so that
// names coming down a pipe are paired as they come rather than once a whole chunk has gathered.
class NamesDevice final : public QIODevice
{
public:
    explicit NamesDevice(const QString& path)
        : name_(path == QLatin1String("-") ? QStringLiteral("standard input") : path)
        , descriptor_(path == QLatin1String("-")
                          ? STDIN_FILENO
                          : ::open(nativeFileName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY))
    {
        struct stat status = {};
        // Standard input closed at start now reads /dev/null, which is not what was named.
        if (descriptor_ == STDIN_FILENO && wasClosedAtStart(STDIN_FILENO))
            setErrorString(reasonOf(EBADF));
        else if (descriptor_ < 0 || ::fstat(descriptor_, &status) != 0)
            setErrorString(reasonOf(errno));
        // Standard input may be a folder too; reading it then fails with the same reason.
        else if (S_ISDIR(status.st_mode) && descriptor_ != STDIN_FILENO)
            setErrorString(reasonOf(EISDIR));
        else
            open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        waits_ = !S_ISREG(status.st_mode);
    }
    ~NamesDevice() override
    {
        if (descriptor_ > STDIN_FILENO)
            ::close(descriptor_);
    }
    Q_DISABLE_COPY_MOVE(NamesDevice)

    QString name() const { return name_; }
    bool isSequential() const override { return true; }
    // Whatever may have to wait for names (a pipe, a terminal) calls this before each read.
    void setBeforeWaiting(std::function<void()> call)
    {
        if (waits_)
            beforeWaiting_ = std::move(call);
    }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        if (beforeWaiting_)
            beforeWaiting_();
        for (;;) {
            const ssize_t got = ::read(descriptor_, data, std::size_t(maxSize));
            if (got >= 0)
                return got;
            if (errno != EINTR) {
                setErrorString(reasonOf(errno));
                return -1;
            }
        }
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QString name_;
    int descriptor_;
    bool waits_ = false;
    std::function<void()> beforeWaiting_;
};

// Where the records go: standard output as they come, or a file that takes the place of any old one only
// once all of them are written.
class RecordOutput
{
public:
    RecordOutput(const QString& path, bool replace) : path_(path)
    {
        if (!path.isEmpty())
            file_.emplace(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner,
                          SafeFileWriter::InPlaceFallback::Refused,
                          replace ? SafeFileWriter::Existing::Replace : SafeFileWriter::Existing::Refuse);
    }

    bool open() { return !file_ || file_->open() || fileFailed(); }
    bool write(QByteArrayView bytes) { return file_ ? file_->write(bytes) || fileFailed() : writeOut(bytes); }
    bool commit() { return !file_ || file_->commit() || fileFailed(); }

    QString name() const { return file_ ? path_ : QStringLiteral("standard output"); }
    QString errorString() const { return errorString_; }
    // Whether standard output failed only because its reader went away (as "| head" does).
    bool readerWentAway() const { return readerWentAway_; }

private:
    bool writeOut(QByteArrayView bytes)
    {
        while (!bytes.isEmpty()) {
            const ssize_t written = ::write(STDOUT_FILENO, bytes.data(), std::size_t(bytes.size()));
            if (written < 0 && errno != EINTR) {
                readerWentAway_ = errno == EPIPE;
                return fail(reasonOf(errno));
            }
            bytes = bytes.sliced(std::max<ssize_t>(written, 0));
        }
        return true;
    }
    bool fail(const QString& reason)
    {
        errorString_ = reason;
        return false;
    }
    // An existing file is refused at the moment the new one would take its name, not only at the start.
    bool fileFailed()
    {
        return fail(file_->targetExists() ? QStringLiteral("already exists (--force replaces it)")
                                          : file_->errorString());
    }

    QString path_;
    std::optional<SafeFileWriter> file_;
    QString errorString_;
    bool readerWentAway_ = false;
};

// Qt's string hashing (the command-line parser's) can leave the upper halves of the vector registers in use,
// after which every SSE instruction of the run waits on them: two and a half times the work for the same
// records, as measured on AVX-512 machines. Clearing them once before the run avoids it.
#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx"))) void zeroUpperHalves()
{
    _mm256_zeroupper();
}
#endif

void clearUpperVectorRegisters()
{
#if defined(__x86_64__) || defined(__i386__)
    if (__builtin_cpu_supports("avx"))
        zeroUpperHalves();
#endif
}

} // namespace

int generate(const CliOptions& options)
{
    // A reader of standard output that goes away makes writes fail with EPIPE, which ends the run quietly.
    std::signal(SIGPIPE, SIG_IGN);
    clearUpperVectorRegisters();

    std::unique_ptr<NamesDevice> names;
    if (!options.namesFile.isEmpty()) {
        names = std::make_unique<NamesDevice>(options.namesFile);
        if (!names->isOpen())
            return complain(names->name(), names->errorString());
    }
    if (options.outputFile.isEmpty() && wasClosedAtStart(STDOUT_FILENO)) {
        std::fputs(qPrintable(QCoreApplication::applicationName() + QStringLiteral(": standard output is closed\n")),
                   stderr);
        return 1;
    }
    RecordOutput output(options.outputFile, options.force);
    if (!output.open())
        return complain(output.name(), output.errorString());
    ExportWriter records(options.layout, [&output](QByteArrayView bytes) { return output.write(bytes); });

    RandomSource& random = SystemRandomSource::instance();
    if (options.entropy)
        // The same in every locale: scripts read it.
        std::fprintf(stderr, "entropy: %s bits per password\n",
                     QByteArray::number(PasswordMaker(options.recipe, random).entropyBits(), 'f', 1).constData());

    std::optional<LineReader> lines;
    if (names) {
        // Names that trickle in get their records out before the next wait, not once a buffer is full.
        names->setBeforeWaiting([&records] { records.flush(); });
        lines.emplace(*names);
    }
    PairMaker maker = lines ? PairMaker(options.recipe, *lines, random)
                            : PairMaker(options.recipe, options.usernames, options.count, random);
    bool written = true;
    for (CredentialPair pair; written && maker.next(pair);)
        written = records.add(pair.password, pair.username);
    // A run that failed leaves unwritten what it has not yet written: after a random failure, nothing at all.
    if (written && maker.outcome() == PairMaker::Outcome::Finished)
        written = records.flush() && output.commit();

    if (!written)
        return output.readerWentAway() ? 0 : complain(output.name(), output.errorString());
    if (maker.outcome() == PairMaker::Outcome::RandomFailed)
        return complain(QStringLiteral("secure random numbers are not available"), maker.errorString());
    if (maker.outcome() == PairMaker::Outcome::ReadFailed)
        return complain(names->name(), maker.errorString());
    return 0;
}
