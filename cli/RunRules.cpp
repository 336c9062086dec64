#include "cli/RunRules.h"

#include "engine/PairMaker.h"
#include "engine/PasswordMaker.h"
#include "engine/RandomSource.h"
#include "list/RecordFormat.h"
#include "os/SystemAccounts.h"

#include <algorithm>
#include <cmath>

namespace {

// Spreadsheets keep 15 significant digits.
constexpr qint32 LongestNumber = 15;

} // namespace

NameUses nameUsesOf(const RecordFormat& format, bool plainTable, bool slips)
{
    NameUses uses;
    uses |= format;
    if (plainTable)
        uses |= RecordFormat::table();
    if (slips)
        uses.forPeople = true;
    return uses;
}

std::optional<QString> applyNameAndSpreadsheetRules(const NameUses& uses, UsernameStyle usernames, quint64 count,
                                                    const QByteArray& prefix, PasswordRecipe& recipe)
{
    recipe.spreadsheetSafe = uses.forSpreadsheets;
    if (const QString refusal = NameRules::controlRefusal(prefix, u"a prefix"); !refusal.isEmpty())
        return QStringLiteral("--prefix: ") + refusal;
    if (usernames == UsernameStyle::Random && uses.forSpreadsheets) {
        const QByteArray characters = PasswordMaker::charactersOf(recipe);
        for (const char c : QByteArrayView("=+-@")) {
            if (characters.contains(c)) {
                return QStringLiteral("--usernames: random usernames of these characters may start with '%1', "
                                      "which spreadsheets run as a formula (--exclude '=+-@' leaves it out)")
                    .arg(QLatin1Char(c));
            }
        }
    }
    if (usernames == UsernameStyle::Random && uses.makesAccounts && count > PairMaker::uniqueUsernameLimit(recipe)) {
        return QStringLiteral("--count: random usernames of these characters and length are drawn all different for "
                              "%1 accounts at most (--length makes room for more)")
            .arg(PairMaker::uniqueUsernameLimit(recipe));
    }
    if (recipe.spreadsheetSafe && std::isinf(PasswordMaker(recipe, SystemRandomSource::instance()).entropyBits())) {
        return QStringLiteral("--exclude: leaves no password a spreadsheet keeps as it is (none may start with "
                              "= + - @ ', nor one of digits only with 0)");
    }
    return std::nullopt;
}

NameRules nameRulesFor(const NameUses& uses, UsernameStyle usernames, bool allowSystemAccounts)
{
    return NameRules(uses, uses.makesAccounts && !allowSystemAccounts ? systemAccountNames() : QSet<QByteArray>(),
                     usernames == UsernameStyle::FromFile);
}

QString spreadsheetWarning(const PasswordRecipe& recipe)
{
    const QByteArray characters = PasswordMaker::charactersOf(recipe);
    const bool digitsOnly =
        std::all_of(characters.cbegin(), characters.cend(), [](char c) { return c >= '0' && c <= '9'; });
    if (!recipe.spreadsheetSafe || !digitsOnly || recipe.length <= LongestNumber)
        return {};
    return QStringLiteral("warning: spreadsheets show all-digit passwords of %1 or more digits as numbers, the "
                          "digits after the %2th lost; open the password column as text")
        .arg(LongestNumber + 1)
        .arg(LongestNumber);
}
