#include "cli/Generation.h"

#include "cli/Accounts.h"
#include "cli/CommandLine.h"
#include "cli/RosterGeneration.h"
#include "cli/RunRules.h"
#include "engine/PairMaker.h"
#include "engine/RandomSource.h"
#include "os/InputDevice.h"
#include "os/LineReader.h"
#include "os/ProcessStart.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

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

    std::unique_ptr<InputDevice> names;
    if (!options.namesFile.isEmpty()) {
        names = std::make_unique<InputDevice>(options.namesFile);
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
    if (const QString warning = spreadsheetWarning(options.recipe); !warning.isEmpty())
        std::fputs(qPrintable(QCoreApplication::applicationName() + QStringLiteral(": ") + warning + QLatin1Char('\n')),
                   stderr);

    if (!options.roster.rosterFile.isEmpty()) {
        const auto failure = generateFromRoster(options, accounts, random);
        return failure ? complain(failure->what, failure->reason) : 0;
    }
    std::optional<LineReader> lines;
    if (names) {
        // Names that trickle in get their records out before the next wait, not once a buffer is full.
        names->setBeforeWaiting([&accounts] { accounts.flush(); });
        lines.emplace(*names);
    }
    PairMaker maker = lines ? PairMaker(options.recipe, *lines, random)
                            : PairMaker(options.recipe, options.usernames, options.count, random, options.numbering);
    const NameUses uses = nameUsesOf(*options.format, !options.plainFile.isEmpty(), !options.slipsFile.isEmpty());
    if (options.usernames == UsernameStyle::Random && uses.makesAccounts)
        maker.drawUniqueUsernames();
    NameRules rules = nameRulesFor(uses, options.usernames, options.allowSystemAccounts);
    bool written = true;
    for (CredentialPair pair; written && maker.next(pair);) {
        QString refusal = options.format->refusal(pair.username);
        if (refusal.isEmpty())
            refusal = rules.refusal(pair.username, maker.begun());
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
