#include "cli/RosterGeneration.h"

#include "cli/Accounts.h"
#include "cli/CliOptions.h"
#include "cli/RunRules.h"
#include "engine/LoginName.h"
#include "engine/Roster.h"
#include "os/InputDevice.h"

namespace {

// Why a person cannot go into a record of the format, or empty.
QString refusal(const CliOptions& options, RosterPerson& person)
{
    const RecordFormat& format = *options.format;
    if (person.email.isEmpty() && !options.roster.domain.isEmpty())
        person.email = person.username + '@' + options.roster.domain;
    if (format.needsEmail && person.email.isEmpty())
        return QStringLiteral("%1 records need an e-mail address: give --domain or an email column")
            .arg(QString::fromLatin1(format.name));
    if (format.nameForbids) {
        for (const char c : QByteArrayView(format.nameForbids)) {
            if (person.fullName.contains(c))
                return QStringLiteral("a name holding '%1' cannot go into a %2 record")
                    .arg(QLatin1Char(c))
                    .arg(QString::fromLatin1(format.name));
        }
    }
    return format.refusal(person.username);
}

} // namespace

std::optional<Failure> generateFromRoster(const CliOptions& options, Accounts& accounts, AnyPasswordMaker& passwords)
{
    const auto failed = [&accounts]() -> std::optional<Failure> {
        if (accounts.readerWentAway())
            return std::nullopt;
        return accounts.failure();
    };
    InputDevice file(options.roster.rosterFile);
    if (!file.isOpen())
        return Failure{file.name(), file.errorString()};
    QByteArray bytes;
    char chunk[64 * 1024];
    for (qint64 got; (got = file.read(chunk, sizeof chunk)) != 0;) {
        if (got < 0)
            return Failure{file.name(), file.errorString()};
        bytes.append(chunk, got);
    }
    Roster roster;
    if (!roster.read(bytes))
        return Failure{file.name(), roster.errorString()};
    if (const QString error = assignLogins(roster.people(), options.roster.loginTemplate); !error.isEmpty())
        return Failure{file.name(), error};
    // The logins are held to the rules of every name of a run (no system account, no name twice); the names
    // people and spreadsheets read beside them, to those for text alone.
    const NameUses uses = nameUsesOf(*options.format, !options.plainFile.isEmpty(), !options.slipsFile.isEmpty());
    NameRules logins = nameRulesFor(uses, UsernameStyle::FromFile, options.allowSystemAccounts);
    NameRules texts(NameUses{false, uses.forPeople, uses.forSpreadsheets}, {}, false);
    for (RosterPerson& person : roster.people()) {
        QString why = refusal(options, person);
        if (why.isEmpty())
            why = logins.refusal(person.username, quint64(person.line));
        const std::pair<const QByteArray*, QStringView> fields[] = {{&person.first, u"a first name"},
                                                                    {&person.last, u"a last name"},
                                                                    {&person.fullName, u"a name"},
                                                                    {&person.email, u"an e-mail address"},
                                                                    {&person.group, u"a class"}};
        for (const auto& [text, what] : fields) {
            if (why.isEmpty())
                why = texts.refusal(*text, quint64(person.line), what);
        }
        if (!why.isEmpty())
            return Failure{QStringLiteral("%1: line %2").arg(file.name()).arg(person.line), why};
    }

    for (const RosterPerson& person : roster.people()) {
        CredentialPair pair;
        if (!passwords.makePassword(pair.password))
            return Failure{QStringLiteral("secure random numbers are not available"),
                           QStringLiteral("the random source failed")};
        pair.username = person.username;
        if (!accounts.add(std::move(pair), &person))
            return failed();
    }
    if (!accounts.commit())
        return failed();
    return std::nullopt;
}
