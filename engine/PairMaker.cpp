#include "engine/PairMaker.h"

#include "engine/RandomSource.h"
#include "os/LineReader.h"

#include <algorithm>
#include <cstring>
#include <limits>

PairMaker::PairMaker(const PasswordRecipe& recipe, UsernameStyle usernames, quint64 count, RandomSource& source,
                     const UsernameNumbering& numbering)
    : PairMaker(PasswordMaker(recipe, source), usernames, count, source, numbering)
{ }

PairMaker::PairMaker(const PasswordRecipe& recipe, LineReader& names, RandomSource& source)
    : PairMaker(PasswordMaker(recipe, source), names, source)
{ }

PairMaker::PairMaker(AnyPasswordMaker passwords, UsernameStyle usernames, quint64 count, RandomSource& source,
                     const UsernameNumbering& numbering)
    : passwords_(std::move(passwords)), source_(source), usernames_(usernames), numbering_(numbering), count_(count)
{ }

PairMaker::PairMaker(AnyPasswordMaker passwords, LineReader& names, RandomSource& source)
    : passwords_(std::move(passwords)), source_(source), names_(&names)
{ }

quint64 PairMaker::uniqueUsernameLimit(const PasswordRecipe& recipe)
{
    return uniqueUsernameLimit(quint64(PasswordMaker::charactersOf(recipe).size()), recipe.length);
}

quint64 PairMaker::uniqueUsernameLimit(quint64 characters, qint32 length)
{
    quint64 usernames = 1;
    for (qint32 i = 0; i < length; ++i) {
        if (characters != 0 && usernames > std::numeric_limits<quint64>::max() / characters)
            return std::numeric_limits<quint64>::max() / 2;
        usernames *= characters;
    }
    return usernames / 2;
}

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
        do {
            if (!passwords_.makeUsername(pair.username))
                return stop(Outcome::RandomFailed, source_.errorString());
        } while (unique_ && drawn_.insert(pair.username, made_) != 0);
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
        if (made_++ == 0)
            LineReader::dropByteOrderMark(pair.username);
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
