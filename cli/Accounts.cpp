#include "cli/Accounts.h"

#include "cli/CliOptions.h"

Accounts::Accounts(const CliOptions& options, const SlipsLoader* slips, Progress& progress)
    : output_(options.outputFile, options.force)
    , records_(*options.format, options.usernames != UsernameStyle::None,
               [this](QByteArrayView bytes) { return output_.write(bytes); })
    , container_(options.roster.container)
    , progress_(progress)
{
    if (options.hash)
        hasher_.emplace(*options.hash, options.hashCost);
    if (!options.plainFile.isEmpty()) {
        plain_.emplace(options.plainFile, options.force);
        plainRecords_.emplace(RecordFormat::table(), options.usernames != UsernameStyle::None,
                              [this](QByteArrayView bytes) { return plain_->write(bytes); });
    }
    if (slips)
        slips_.emplace(options.slipsFile, options.force, *slips, options.slips);
}

bool Accounts::open()
{
    if (!output_.open())
        return fail(output_.name(), output_.errorString());
    if (plain_ && !plain_->open())
        return fail(plain_->name(), plain_->errorString());
    return !slips_ || slips_->open() || fail(slips_->name(), slips_->errorString());
}

bool Accounts::add(CredentialPair&& pair, const RosterPerson* person)
{
    if (!hasher_)
        return write(pair, person, pair.password);
    batch_.push_back(std::move(pair));
    people_.push_back(person);
    return batch_.size() < BatchSize || drain();
}

bool Accounts::flush()
{
    return drain() && (records_.flush() || failOutput());
}

bool Accounts::commit()
{
    if (!drain() || !records_.flush())
        return failOutput();
    if (plain_ && !plainRecords_->flush())
        return fail(plain_->name(), plain_->errorString());
    if (slips_ && !slips_->finish())
        return fail(slips_->name(), slips_->errorString());
    std::vector<OutputFile*> files;
    if (plain_ && plain_->file())
        files.push_back(plain_->file());
    if (slips_ && slips_->file())
        files.push_back(slips_->file());
    if (output_.file())
        files.push_back(output_.file());
    const OutputFile* failed = commitTogether(files);
    return !failed || fail(failed->name(), failed->failure());
}

bool Accounts::readerWentAway() const
{
    return output_.readerWentAway() || (plain_ && plain_->readerWentAway()) || (slips_ && slips_->readerWentAway());
}

bool Accounts::drain()
{
    if (failure_)
        return false;
    if (batch_.empty())
        return true;
    if (!hasher_->hashAll(batch_, hashes_, [this](std::size_t hashed) { progress_.show(written_ + hashed); }))
        return fail(QStringLiteral("--hash"), hasher_->errorString());
    for (std::size_t i = 0; i < batch_.size(); ++i) {
        if (!write(batch_[i], people_[i], hashes_[i]))
            return false;
    }
    batch_.clear();
    people_.clear();
    return true;
}

bool Accounts::write(const CredentialPair& pair, const RosterPerson* person, QByteArrayView recordPassword)
{
    Record record{recordPassword, pair.username};
    record.container = container_;
    record.hashed = hasher_.has_value();
    if (person) {
        record.first = person->first;
        record.last = person->last;
        record.fullName = person->fullName;
        record.email = person->email;
    }
    if (!records_.add(record))
        return failOutput();
    if (plainRecords_ && !plainRecords_->add(pair.password, pair.username))
        return fail(plain_->name(), plain_->errorString());
    if (slips_ && !slips_->add(pair, person ? QByteArrayView(person->fullName) : QByteArrayView()))
        return fail(slips_->name(), slips_->errorString());
    progress_.show(++written_);
    return true;
}

bool Accounts::failOutput()
{
    if (!failure_)
        fail(output_.name(), output_.errorString());
    return false;
}

bool Accounts::fail(const QString& what, const QString& reason)
{
    failure_ = Failure{what, reason};
    return false;
}
