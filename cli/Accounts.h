#pragma once

#include "cli/Progress.h"
#include "cli/RecordOutput.h"
#include "cli/SlipsOutput.h"
#include "engine/CredentialPair.h"
#include "engine/PasswordHasher.h"
#include "engine/Roster.h"
#include "list/RecordWriter.h"

#include <QString>

#include <optional>
#include <vector>

struct CliOptions;
class SlipsLoader;

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
    Q_DISABLE_COPY_MOVE(Accounts)

public:
    // The slips module is there when the options ask for slips. The progress is shown as accounts are hashed
    // and written.
    Accounts(const CliOptions& options, const SlipsLoader* slips, Progress& progress);

    bool open();
    // The person, from a roster, must outlive the accounts; null without one.
    bool add(CredentialPair&& pair, const RosterPerson* person = nullptr);
    // Hands standard output what is ready, so that names that trickle in get their records before the next wait.
    bool flush();
    // Puts the files in place together (see commitTogether), the records' own file last of its kind.
    bool commit();

    const std::optional<Failure>& failure() const { return failure_; }
    // Whether the run failed only because the reader of standard output went away (as "| head" does).
    bool readerWentAway() const;

private:
    static constexpr std::size_t BatchSize = 256;

    bool drain();
    bool write(const CredentialPair& pair, const RosterPerson* person, QByteArrayView recordPassword);
    bool failOutput();
    bool fail(const QString& what, const QString& reason);

    RecordOutput output_;
    RecordWriter records_;
    std::optional<RecordOutput> plain_;
    std::optional<RecordWriter> plainRecords_;
    std::optional<SlipsOutput> slips_;
    std::optional<PasswordHasher> hasher_;
    std::vector<CredentialPair> batch_;
    std::vector<const RosterPerson*> people_;
    QByteArray container_;
    std::vector<QByteArray> hashes_;
    std::optional<Failure> failure_;
    Progress& progress_;
    quint64 written_ = 0;
};
