#include "cli/RosterOptions.h"

#include "engine/LoginName.h"

#include <algorithm>
#include <bit>

namespace {

enum Index { RosterFile, Login, Domain, OrgUnit, BaseDn, Note, PerPage };

QCommandLineOption withValue(const char* name, const char* description, const char* valueName)
{
    return QCommandLineOption(QString::fromLatin1(name), QString::fromUtf8(description),
                              QString::fromLatin1(valueName));
}

QString longName(const char* name)
{
    return QStringLiteral("--") + QString::fromLatin1(name);
}

QString classesOf(int count)
{
    return count == 4 ? QStringLiteral("an upper-case letter, a lower-case letter, a digit and a symbol")
                      : QStringLiteral("%1 of upper-case letters, lower-case letters, digits and symbols").arg(count);
}

} // namespace

RosterOptions::RosterOptions()
    : options_{
        withValue("roster",
                  "One account for every person of FILE, a class list saved by a spreadsheet as CSV (UTF-8, "
                  "delimiter , ; or TAB, a header row naming the columns: first name, last name or name, and "
                  "optionally username, email, class). FILE '-' is standard input. Takes the place of --names, "
                  "--count and --usernames.",
                  "FILE"),
        withValue("login",
                  "Login names of the roster's people without a username, made of {first}, {last}, {f} and {l} "
                  "(initials) and {class}: folded to ASCII (Zoë Ångström gives zoe.angstrom), lower case, "
                  "a-z 0-9 . _ - only, at most 32 characters; a second anna.berg is anna.berg2 (default: "
                  "{first}.{last}).",
                  "TEMPLATE"),
        withValue("domain", "E-mail addresses and principal names are LOGIN@DOMAIN where the roster has none.",
                  "DOMAIN"),
        withValue("org-unit", "The org unit path of the google records (default: /, the top).", "PATH"),
        withValue("base-dn", "The entries of the ldif records are uid=LOGIN,DN (needed by ldif).", "DN"),
        withValue("note", "A line of TEXT on every slip, under the password (a sign-in address).", "TEXT"),
        withValue("per-page", "Slips a page, 10, 6 or 4: fewer, larger slips (default: 10).", "N"),
    }
{ }

std::optional<UsageError> RosterOptions::read(const QCommandLineParser& parser, RosterRun& run,
                                              UsernameStyle& usernames, SlipStyle& slips) const
{
    const bool roster = parser.isSet(options_[RosterFile]);
    if (roster) {
        run.rosterFile = parser.value(options_[RosterFile]);
        if (run.rosterFile.isEmpty())
            return refuse(longName("roster"), QStringLiteral("no file name given"));
        for (const char* other : {"names", "count", "usernames"}) {
            if (parser.isSet(QString::fromLatin1(other)))
                return refuse(longName(other), QStringLiteral("cannot be used with --roster"));
        }
        usernames = UsernameStyle::FromFile;
    }
    for (const Index needsRoster : {Login, Domain}) {
        if (parser.isSet(options_[needsRoster]) && !roster)
            return refuse(QStringLiteral("--") + options_[needsRoster].names().constFirst(),
                          QStringLiteral("needs --roster"));
    }
    if (parser.isSet(options_[Login])) {
        run.loginTemplate = parser.value(options_[Login]);
        if (const QString error = checkLoginTemplate(run.loginTemplate); !error.isEmpty())
            return refuse(longName("login"), error);
    }
    const QString domain = parser.value(options_[Domain]);
    if (parser.isSet(options_[Domain]) && (domain.isEmpty() || std::any_of(domain.cbegin(), domain.cend(), [](QChar c) {
                                               return c == u'@' || c.unicode() <= 0x20;
                                           })))
        return refuse(longName("domain"), QStringLiteral("'%1' is not a domain name").arg(domain));
    run.domain = domain.toUtf8();

    for (const Index slipsOnly : {Note, PerPage}) {
        if (parser.isSet(options_[slipsOnly]) && !parser.isSet(QStringLiteral("slips")))
            return refuse(QStringLiteral("--") + options_[slipsOnly].names().constFirst(),
                          QStringLiteral("needs --slips"));
    }
    slips.note = parser.value(options_[Note]);
    if (parser.isSet(options_[PerPage])) {
        const QString perPage = parser.value(options_[PerPage]);
        if (perPage != QLatin1String("10") && perPage != QLatin1String("6") && perPage != QLatin1String("4"))
            return refuse(longName("per-page"), QStringLiteral("'%1' is not one of 10, 6, 4").arg(perPage));
        slips.perPage = perPage.toInt();
    }
    return std::nullopt;
}

std::optional<UsageError> RosterOptions::holdToFormat(const QCommandLineParser& parser, const RecordFormat& format,
                                                      const std::optional<HashMethod>& hash, RosterRun& run,
                                                      PasswordRecipe& recipe) const
{
    const QString name = QString::fromLatin1(format.name);
    const QString target = format.target ? QString::fromLatin1(format.target) : QString();
    if (format.needsRoster && run.rosterFile.isEmpty())
        return refuse(QStringLiteral("--format"),
                      QStringLiteral("%1 records hold the people's names, which need --roster").arg(name));
    for (const Index container : {OrgUnit, BaseDn}) {
        const QString option = options_[container].names().constFirst();
        const bool ours = format.containerOption && option == QLatin1String(format.containerOption);
        if (parser.isSet(options_[container]) && !ours)
            return refuse(QStringLiteral("--") + option, QStringLiteral("%1 records have no place for it").arg(name));
        if (ours && !parser.isSet(options_[container]) && !format.containerDefault)
            return refuse(QStringLiteral("--") + option, QStringLiteral("%1 records need it").arg(name));
        if (ours)
            run.container = parser.isSet(options_[container]) ? parser.value(options_[container]).toUtf8()
                                                              : QByteArray(format.containerDefault);
    }

    if (hash && format.hashUse == HashUse::Refused)
        return refuse(QStringLiteral("--hash"),
                      QStringLiteral("%1 takes plain passwords and hashes them itself").arg(target));
    if (!hash && format.hashUse == HashUse::Required)
        return refuse(QStringLiteral("--hash"),
                      QStringLiteral("%1 records need it: a plain password in %2 can be read by anyone who "
                                     "may read the entry")
                          .arg(name, target));
    if (hash == HashMethod::Yescrypt && !format.takesYescrypt)
        return refuse(QStringLiteral("--hash"),
                      QStringLiteral("%1 refuses yescrypt hashes; sha512crypt it takes").arg(target));

    const PasswordPolicy& policy = format.policy;
    if (recipe.length < policy.minLength || (policy.maxLength > 0 && recipe.length > policy.maxLength)) {
        const QString range = policy.maxLength > 0
            ? QStringLiteral("%1 to %2").arg(policy.minLength).arg(policy.maxLength)
            : QStringLiteral("at least %1").arg(policy.minLength);
        return refuse(QStringLiteral("--length"),
                      QStringLiteral("%1 takes passwords of %2 characters").arg(target, range));
    }
    if (policy.minClasses > 0) {
        // Without a chosen style the passwords take the characters the policy asks for.
        if (PasswordMaker::classCount(recipe) < policy.minClasses && !parser.isSet(QStringLiteral("style"))
            && !parser.isSet(QStringLiteral("case"))) {
            recipe.style = PasswordStyle::AlphaNumSym;
            recipe.letterCase = LetterCase::Mixed;
        }
        if (PasswordMaker::classCount(recipe) < policy.minClasses)
            return refuse(QStringLiteral("--style"),
                          QStringLiteral("%1 asks for passwords holding %2, which these characters cannot")
                              .arg(target, classesOf(policy.minClasses)));
        recipe.minClasses = std::max(recipe.minClasses, policy.minClasses);
    }
    if (policy.forbidden) {
        const QByteArray characters = PasswordMaker::charactersOf(recipe);
        for (const char c : QByteArrayView(policy.forbidden)) {
            if (characters.contains(c) && !recipe.exclude.contains(c))
                recipe.exclude.append(c);
        }
    }
    return std::nullopt;
}
