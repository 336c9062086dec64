#include "cli/Generation.h"

#include "cli/Accounts.h"
#include "cli/CliOptions.h"
#include "cli/Complaint.h"
#include "cli/RosterGeneration.h"
#include "cli/RunRules.h"
#include "engine/PairMaker.h"
#include "engine/RandomSource.h"
#include "list/NameCheck.h"
#include "os/InputDevice.h"
#include "os/LineReader.h"
#include "os/ProcessStart.h"

#include <QCoreApplication>

#include <cmath>
#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include <unistd.h>

namespace {

// Fewer different passwords than this a guesser tries in moments.
constexpr double FewestPasswords = 1e6;

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

// The maker the options ask for. The options were checked by making one, so this fails only if that changed.
std::optional<AnyPasswordMaker> passwordMaker(const CliOptions& options, RandomSource& source, QString& error)
{
    switch (options.kind) {
    case CliOptions::Kind::Characters:
        return AnyPasswordMaker(PasswordMaker(options.recipe, source));
    case CliOptions::Kind::Words:
        if (std::optional<PassphraseMaker> words = PassphraseMaker::create(options.passphrase, source, error))
            return AnyPasswordMaker(std::move(*words));
        break;
    case CliOptions::Kind::Rules:
        if (std::optional<RulesPasswordMaker> rules = RulesPasswordMaker::create(options.rules, source, error))
            return AnyPasswordMaker(std::move(*rules), source);
        break;
    }
    return std::nullopt;
}

} // namespace

int generate(const CliOptions& options, const SlipsLoader* slips)
{
    // A reader of standard output that goes away makes writes fail with EPIPE, which ends the run quietly.
    std::signal(SIGPIPE, SIG_IGN);
    clearUpperVectorRegisters();

    std::unique_ptr<InputDevice> names;
    if (!options.namesFile.isEmpty()) {
        names = std::make_unique<InputDevice>(options.namesFile);
        if (!names->isOpen())
            return complain(names->name(), names->errorString());
    }
    if (options.writesStandardOutput() && wasClosedAtStart(STDOUT_FILENO)) {
        std::fputs(qPrintable(QCoreApplication::applicationName() + QStringLiteral(": standard output is closed\n")),
                   stderr);
        return 1;
    }
    // The runs that take long enough to wait for: hashing and drawing slips.
    Progress progress(options.hash || slips,
                      options.namesFile.isEmpty() && options.roster.rosterFile.isEmpty() ? options.count : 0);
    Accounts accounts(options, slips, progress);
    if (!accounts.open())
        return complain(accounts.failure()->what, accounts.failure()->reason);

    RandomSource& random = SystemRandomSource::instance();
    QString error;
    std::optional<AnyPasswordMaker> passwords = passwordMaker(options, random, error);
    if (!passwords)
        return complain(QStringLiteral("the passwords cannot be made"), error);
    if (options.entropy) {
        // The same in every locale: scripts read it.
        std::fprintf(stderr, "entropy: %s bits per password\n",
                     QByteArray::number(passwords->entropyBits(), 'f', 1).constData());
        const QByteArray absent = options.kind == CliOptions::Kind::Characters
            ? PasswordMaker::absentExclusions(options.recipe)
            : QByteArray();
        if (!absent.isEmpty())
            std::fprintf(stderr, "entropy: --exclude: '%s' not among the characters\n", absent.constData());
    }
    if (const QString warning = spreadsheetWarning(options.recipe); !warning.isEmpty())
        std::fputs(qPrintable(QCoreApplication::applicationName() + QStringLiteral(": ") + warning + QLatin1Char('\n')),
                   stderr);
    const double different = std::exp2(passwords->entropyBits());
    if (different >= 1 && different < FewestPasswords - 0.5) {
        const qint64 count = std::llround(different);
        warn(QStringLiteral("these options allow only %1 different password%2")
                 .arg(count)
                 .arg(count == 1 ? QString() : QStringLiteral("s")));
    }

    if (!options.roster.rosterFile.isEmpty()) {
        const auto failure = generateFromRoster(options, accounts, *passwords);
        progress.erase();
        return failure ? complain(failure->what, failure->reason) : 0;
    }
    std::optional<LineReader> lines;
    if (names) {
        // Names that trickle in get their records out before the next wait, not once a buffer is full.
        names->setBeforeWaiting([&accounts] { accounts.flush(); });
        lines.emplace(*names);
    }
    PairMaker maker = lines
        ? PairMaker(std::move(*passwords), *lines, random)
        : PairMaker(std::move(*passwords), options.usernames, options.count, random, options.numbering);
    const NameUses uses = nameUsesOf(*options.format, !options.plainFile.isEmpty(), !options.slipsFile.isEmpty());
    if (options.usernames == UsernameStyle::Random && uses.makesAccounts)
        maker.drawUniqueUsernames();
    NameRules rules = nameRulesFor(uses, options.usernames, options.allowSystemAccounts);
    NameCheck nameCheck(*options.format);
    bool written = true;
    for (CredentialPair pair; written && maker.next(pair);) {
        QString refusal = nameCheck.refusal(pair.username);
        // The rules take every empty name, the one of each record without usernames.
        if (refusal.isEmpty() && !pair.username.isEmpty())
            refusal = rules.refusal(pair.username, maker.begun());
        if (!refusal.isEmpty()) {
            const QString where = names ? QStringLiteral("%1: line %2").arg(names->name()).arg(maker.begun())
                                        : QStringLiteral("record %1").arg(maker.begun());
            progress.erase();
            return complain(where, refusal);
        }
        written = accounts.add(std::move(pair));
    }
    // A run that failed leaves unwritten what it has not yet written: after a random failure, nothing at all.
    if (written && maker.outcome() == PairMaker::Outcome::Finished)
        written = accounts.commit();
    progress.erase();

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
