#include "engine/PairMaker.h"

#include "engine/RandomSource.h"
#include "os/LineReader.h"

#include <algorithm>
#include <cstring>

PairMaker::PairMaker(const PasswordRecipe& recipe, UsernameStyle usernames, quint64 count, RandomSource& source,
                     const UsernameNumbering& numbering)
    : passwords_(recipe, source), source_(source), usernames_(usernames), numbering_(numbering), count_(count)
{ }

PairMaker::PairMaker(const PasswordRecipe& recipe, LineReader& names, RandomSource& source)
    : passwords_(recipe, source), source_(source), names_(&names)
{ }

bool PairMaker::next(CredentialPair& pair)
{
    if (outcome_ != Outcome::Making)
        return false;
    if (names_)
        return nextNamed(pair);
    if (made_ == count_)
        return stop(Outcome::Finished, {});
    ++made_;
    if (!passwords_.makePassword(pair.password))
        return stop(Outcome::RandomFailed, source_.errorString());
    switch (usernames_) {
    case UsernameStyle::Random:
        if (!passwords_.makeText(pair.username))
            return stop(Outcome::RandomFailed, source_.errorString());
        break;
    case UsernameStyle::Numbered: {
        // Spelt into the array the last name left, where setNum and prepend would allocate anew for every name.
        char digits[20];
        char* const end = digits + sizeof digits;
        char* first = end;
        quint64 number = numbering_.start + made_ - 1;
        do {
            *--first = static_cast<char>('0' + number % 10);
            number /= 10;
        } while (number != 0);
        const qsizetype prefix = numbering_.prefix.size();
        const qsizetype zeros = std::max<qsizetype>(numbering_.digits - (end - first), 0);
        pair.username.resize(prefix + zeros + (end - first));
        char* const to = pair.username.data();
        if (prefix > 0)
            std::memcpy(to, numbering_.prefix.constData(), std::size_t(prefix));
        std::memset(to + prefix, '0', std::size_t(zeros));
        std::memcpy(to + prefix + zeros, first, std::size_t(end - first));
        break;
    }
    case UsernameStyle::FromFile:
    case UsernameStyle::None:
        // Without a call where it is empty already, as it is for every pair but the first.
        if (!pair.username.isEmpty())
            pair.username.clear();
        break;
    }
    return true;
}

bool PairMaker::nextNamed(CredentialPair& pair)
{
    for (;;) {
        if (!names_->readLine(pair.username)) {
            if (names_->hasError())
                return stop(Outcome::ReadFailed, names_->errorString());
            return stop(Outcome::Finished, {});
        }
        ++made_;
        if (!passwords_.makePassword(pair.password))
            return stop(Outcome::RandomFailed, source_.errorString());
        if (!pair.username.isEmpty())
            return true;
    }
}

bool PairMaker::stop(Outcome outcome, const QString& reason)
{
    outcome_ = outcome;
    errorString_ = reason;
    return false;
}
