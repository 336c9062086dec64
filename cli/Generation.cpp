#include "cli/Generation.h"

#include "cli/CommandLine.h"
#include "cli/SlipsLoader.h"
#include "engine/PairMaker.h"
#include "engine/PasswordHasher.h"
#include "engine/RandomSource.h"
#include "list/RecordWriter.h"
#include "os/LineReader.h"
#include "os/NativeFileName.h"
#include "os/ProcessStart.h"
#include "os/SafeFileWriter.h"

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
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int complain(const QString& what, const QString& reason)
{
    const QByteArray line = (QCoreApplication::applicationName() + QStringLiteral(": ") + what + QStringLiteral(": ")
                             + reason + QLatin1Char('\n'))
                                .toLocal8Bit();
    std::fwrite(line.constData(), 1, std::size_t(line.size()), stderr);
    return 1;
}

namespace {

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

// Every file the run writes is opened here, owner-only: one that exists is refused unless --force replaces it,
// at the moment the new file would take its name, not only at the start.
constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

SafeFileWriter::Existing existing(bool replace)
{
    return replace ? SafeFileWriter::Existing::Replace : SafeFileWriter::Existing::Refuse;
}

QString fileError(const SafeFileWriter& file)
{
    return file.targetExists() ? QStringLiteral("already exists (--force replaces it)") : file.errorString();
}

// Where records go: standard output as they come, or a file that takes the place of any old one only
// once all of them are written.
class RecordOutput
{
public:
    RecordOutput(const QString& path, bool replace) : path_(path)
    {
        if (!path.isEmpty())
            file_.emplace(path, OwnerOnly, SafeFileWriter::InPlaceFallback::Refused, existing(replace));
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
    bool fileFailed() { return fail(fileError(*file_)); }

    QString path_;
    std::optional<SafeFileWriter> file_;
    QString errorString_;
    bool readerWentAway_ = false;
};

// What the PDF writer writes, handed on to a safe writer as it comes.
class SafeWriterDevice final : public QIODevice
{
public:
    explicit SafeWriterDevice(SafeFileWriter& file) : file_(file)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    Q_DISABLE_COPY_MOVE(SafeWriterDevice)

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        return file_.write(QByteArrayView(data, size)) ? size : -1;
    }

private:
    SafeFileWriter& file_;
};

// The slips file: drawn page by page into a file that appears only once the document is whole.
class SlipsOutput
{
public:
    SlipsOutput(const QString& path, bool replace, const SlipsLoader& module, const SlipStyle& style)
        : path_(path)
        , module_(module)
        , style_(style)
        , file_(path, OwnerOnly, SafeFileWriter::InPlaceFallback::Refused, existing(replace))
    { }

    bool open()
    {
        if (!file_.open())
            return fail(fileError(file_));
        device_.emplace(file_);
        sheet_ = module_.makeSheet(*device_, style_);
        return true;
    }
    bool add(const CredentialPair& pair)
    {
        sheet_->add(pair.username, pair.password);
        return !file_.hasError() || fail(fileError(file_));
    }
    bool commit()
    {
        const bool ended = sheet_->finish();
        sheet_.reset();
        if (file_.hasError())
            return fail(fileError(file_));
        if (!ended)
            return fail(QStringLiteral("the document could not be ended"));
        return file_.commit() || fail(fileError(file_));
    }

    QString name() const { return path_; }
    QString errorString() const { return errorString_; }

private:
    bool fail(const QString& reason)
    {
        errorString_ = reason;
        return false;
    }

    QString path_;
    const SlipsLoader& module_;
    SlipStyle style_;
    SafeFileWriter file_;
    std::optional<SafeWriterDevice> device_;
    std::unique_ptr<SlipSheet> sheet_;
    QString errorString_;
};

// One line of why a run failed: the file or thing it names, and the reason.
struct Failure
{
    QString what;
    QString reason;
};

// Every place an account goes: its record (with the hash in place of the password, when hashing), the
// plain file, the slips. Hashes are made a batch at a time on every core; records keep the order made.
class Accounts
{
public:
    Accounts(const CliOptions& options, const SlipsLoader* slips)
        : output_(options.outputFile, options.force)
        , records_(*options.format, options.usernames != UsernameStyle::None,
                   [this](QByteArrayView bytes) { return output_.write(bytes); })
    {
        if (options.hash)
            hasher_.emplace(*options.hash);
        if (!options.plainFile.isEmpty()) {
            plain_.emplace(options.plainFile, options.force);
            plainRecords_.emplace(RecordFormat::table(), options.usernames != UsernameStyle::None,
                                  [this](QByteArrayView bytes) { return plain_->write(bytes); });
        }
        if (slips)
            slips_.emplace(options.slipsFile, options.force, *slips, options.slips);
    }

    bool open()
    {
        if (!output_.open())
            return fail(output_.name(), output_.errorString());
        if (plain_ && !plain_->open())
            return fail(plain_->name(), plain_->errorString());
        return !slips_ || slips_->open() || fail(slips_->name(), slips_->errorString());
    }

    bool add(CredentialPair&& pair)
    {
        if (!hasher_)
            return write(pair, pair.password);
        batch_.push_back(std::move(pair));
        return batch_.size() < BatchSize || drain();
    }
    // Hands standard output what is ready, so that names that trickle in get their records before the next wait.
    bool flush() { return drain() && (records_.flush() || failOutput()); }
    // The records' own file goes last: a failure before it leaves none of the files.
    bool commit()
    {
        if (!drain() || !records_.flush())
            return failOutput();
        if (plain_ && !plainRecords_->flush())
            return fail(plain_->name(), plain_->errorString());
        if (slips_ && !slips_->commit())
            return fail(slips_->name(), slips_->errorString());
        if (plain_ && !plain_->commit())
            return fail(plain_->name(), plain_->errorString());
        return output_.commit() || failOutput();
    }

    const std::optional<Failure>& failure() const { return failure_; }
    bool readerWentAway() const { return output_.readerWentAway(); }

private:
    static constexpr std::size_t BatchSize = 256;

    bool drain()
    {
        if (failure_)
            return false;
        if (batch_.empty())
            return true;
        if (!hasher_->hashAll(batch_, hashes_))
            return fail(QStringLiteral("--hash"), hasher_->errorString());
        for (std::size_t i = 0; i < batch_.size(); ++i) {
            if (!write(batch_[i], hashes_[i]))
                return false;
        }
        batch_.clear();
        return true;
    }
    bool write(const CredentialPair& pair, QByteArrayView recordPassword)
    {
        if (!records_.add(recordPassword, pair.username))
            return failOutput();
        if (plainRecords_ && !plainRecords_->add(pair.password, pair.username))
            return fail(plain_->name(), plain_->errorString());
        return !slips_ || slips_->add(pair) || fail(slips_->name(), slips_->errorString());
    }
    bool failOutput()
    {
        if (!failure_)
            fail(output_.name(), output_.errorString());
        return false;
    }
    bool fail(const QString& what, const QString& reason)
    {
        failure_ = Failure{what, reason};
        return false;
    }

    RecordOutput output_;
    RecordWriter records_;
    std::optional<RecordOutput> plain_;
    std::optional<RecordWriter> plainRecords_;
    std::optional<SlipsOutput> slips_;
    std::optional<PasswordHasher> hasher_;
    std::vector<CredentialPair> batch_;
    std::vector<QByteArray> hashes_;
    std::optional<Failure> failure_;
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

int generate(const CliOptions& options, const SlipsLoader* slips)
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
    Accounts accounts(options, slips);
    if (!accounts.open())
        return complain(accounts.failure()->what, accounts.failure()->reason);

    RandomSource& random = SystemRandomSource::instance();
    if (options.entropy) {
        // The same in every locale: scripts read it.
        std::fprintf(stderr, "entropy: %s bits per password\n",
                     QByteArray::number(PasswordMaker(options.recipe, random).entropyBits(), 'f', 1).constData());
        const QByteArray absent = PasswordMaker::absentExclusions(options.recipe);
        if (!absent.isEmpty())
            std::fprintf(stderr, "entropy: --exclude: '%s' not among the characters\n", absent.constData());
    }

    std::optional<LineReader> lines;
    if (names) {
        // Names that trickle in get their records out before the next wait, not once a buffer is full.
        names->setBeforeWaiting([&accounts] { accounts.flush(); });
        lines.emplace(*names);
    }
    PairMaker maker = lines ? PairMaker(options.recipe, *lines, random)
                            : PairMaker(options.recipe, options.usernames, options.count, random, options.numbering);
    bool written = true;
    for (CredentialPair pair; written && maker.next(pair);) {
        const QString refusal = options.format->refusal(pair.username);
        if (!refusal.isEmpty()) {
            const QString where = names ? QStringLiteral("%1: line %2").arg(names->name()).arg(maker.begun())
                                        : QStringLiteral("record %1").arg(maker.begun());
            return complain(where, refusal);
        }
        written = accounts.add(std::move(pair));
    }
    // A run that failed leaves unwritten what it has not yet written: after a random failure, nothing at all.
    if (written && maker.outcome() == PairMaker::Outcome::Finished)
        written = accounts.commit();

    if (!written) {
        if (accounts.readerWentAway())
            return 0;
        return complain(accounts.failure()->what, accounts.failure()->reason);
    }
    if (maker.outcome() == PairMaker::Outcome::RandomFailed)
        return complain(QStringLiteral("secure random numbers are not available"), maker.errorString());
    if (maker.outcome() == PairMaker::Outcome::ReadFailed)
        return complain(names->name(), maker.errorString());
    return 0;
}
