#include "engine/LoginName.h"

#include <QHash>
#include <QSet>

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <memory>

namespace {

constexpr char ToAscii[] = "Any-Latin; Latin-ASCII";

QString transliterated(QStringView text)
{
    // Made once: building the rules takes longer than folding thousands of names.
    static const std::unique_ptr<icu::Transliterator> transliterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> made(
            icu::Transliterator::createInstance(icu::UnicodeString(ToAscii), UTRANS_FORWARD, status));
        return U_SUCCESS(status) ? std::move(made) : nullptr;
    }();
    if (!transliterator)
        return text.toString();
    icu::UnicodeString unicode(reinterpret_cast<const char16_t*>(text.utf16()), int32_t(text.size()));
    transliterator->transliterate(unicode);
    return QString(reinterpret_cast<const QChar*>(unicode.getBuffer()), unicode.length());
}

bool isLoginCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
}

QByteArray foldBytes(QByteArrayView utf8)
{
    const bool ascii = std::all_of(utf8.begin(), utf8.end(), [](char c) { return quint8(c) < 0x80; });
    return ascii ? foldForLogin(QString::fromLatin1(utf8)) : foldForLogin(QString::fromUtf8(utf8));
}

enum class Part { Text, First, Last, FirstInitial, LastInitial, Group };

struct Placeholder
{
    const char* name;
    Part part;
};

constexpr Placeholder Placeholders[] = {{"first", Part::First},
                                        {"last", Part::Last},
                                        {"f", Part::FirstInitial},
                                        {"l", Part::LastInitial},
                                        {"class", Part::Group}};

// The template's pieces: literal text, or a placeholder.
struct Piece
{
    Part part;
    QByteArray text;
};

QString parseTemplate(const QString& loginTemplate, QList<Piece>* pieces)
{
    qsizetype pos = 0;
    while (pos < loginTemplate.size()) {
        const qsizetype open = loginTemplate.indexOf(QLatin1Char('{'), pos);
        const qsizetype end = open < 0 ? loginTemplate.size() : open;
        if (end > pos && pieces)
            pieces->append({Part::Text, foldForLogin(QStringView(loginTemplate).sliced(pos, end - pos))});
        if (open < 0)
            break;
        const qsizetype close = loginTemplate.indexOf(QLatin1Char('}'), open);
        if (close < 0)
            return QStringLiteral("the '{' at character %1 is never closed").arg(open + 1);
        const QStringView name = QStringView(loginTemplate).sliced(open + 1, close - open - 1);
        const auto found = std::find_if(std::begin(Placeholders), std::end(Placeholders),
                                        [name](const Placeholder& p) { return name == QLatin1String(p.name); });
        if (found == std::end(Placeholders))
            return QStringLiteral("{%1} is not one of {first}, {last}, {f}, {l}, {class}").arg(name);
        if (pieces)
            pieces->append({found->part, {}});
        pos = close + 1;
    }
    return {};
}

// Trailing dots and hyphens are left off, and so is anything before the first letter.
QByteArray tidied(QByteArray login, qsizetype room)
{
    const qsizetype letter =
        std::find_if(login.cbegin(), login.cend(), [](char c) { return c >= 'a' && c <= 'z'; }) - login.cbegin();
    login = login.mid(letter).left(room);
    while (!login.isEmpty() && !(login.back() >= 'a' && login.back() <= 'z')
           && !(login.back() >= '0' && login.back() <= '9'))
        login.chop(1);
    return login;
}

} // namespace

QByteArray foldForLogin(QStringView text)
{
    const bool ascii = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
    const QString folded = ascii ? text.toString() : transliterated(text);
    QByteArray login;
    login.reserve(folded.size());
    for (const QChar c : folded) {
        if (c.unicode() >= 0x80)
            continue;
        const char a = char(c.unicode());
        const char lower = a >= 'A' && a <= 'Z' ? char(a - 'A' + 'a') : a;
        if (isLoginCharacter(lower))
            login.append(lower);
    }
    return login;
}

QString checkLoginTemplate(const QString& loginTemplate)
{
    return parseTemplate(loginTemplate, nullptr);
}

QString assignLogins(std::vector<RosterPerson>& people, const QString& loginTemplate)
{
    QList<Piece> pieces;
    if (const QString error = parseTemplate(loginTemplate, &pieces); !error.isEmpty())
        return error;
    QHash<QByteArray, qsizetype> taken;
    for (const RosterPerson& person : people) {
        if (!person.usernameGiven)
            continue;
        const auto earlier = taken.constFind(person.username);
        if (earlier != taken.constEnd()) {
            return QStringLiteral("line %1: the username '%2' is given on line %3 too")
                .arg(person.line)
                .arg(QString::fromUtf8(person.username))
                .arg(*earlier);
        }
        taken.insert(person.username, person.line);
    }
    QHash<QByteArray, qint64> nextNumber;
    // A class list repeats its first names, its last names and its classes many times over.
    QHash<QByteArray, QByteArray> folded;
    const auto fold = [&folded](const QByteArray& text) {
        auto found = folded.constFind(text);
        return found != folded.constEnd() ? *found : *folded.insert(text, foldBytes(text));
    };
    for (RosterPerson& person : people) {
        if (person.usernameGiven)
            continue;
        const QByteArray first = fold(person.first);
        const QByteArray last = fold(person.last);
        QByteArray made;
        for (const Piece& piece : pieces) {
            switch (piece.part) {
            case Part::Text:
                made += piece.text;
                break;
            case Part::First:
                made += first;
                break;
            case Part::Last:
                made += last;
                break;
            case Part::FirstInitial:
                made += first.left(1);
                break;
            case Part::LastInitial:
                made += last.left(1);
                break;
            case Part::Group:
                made += fold(person.group);
                break;
            }
        }
        const QByteArray base = tidied(made, MaxLoginLength);
        if (base.isEmpty())
            return QStringLiteral("line %1: no login name can be made of '%2' by the template")
                .arg(person.line)
                .arg(QString::fromUtf8(person.fullName));
        qint64& number = nextNumber[base];
        QByteArray login = base;
        while (taken.contains(login)) {
            number = std::max<qint64>(number, 1) + 1;
            const QByteArray suffix = QByteArray::number(number);
            login = tidied(base, MaxLoginLength - suffix.size()) + suffix;
        }
        taken.insert(login, person.line);
        person.username = login;
    }
    return {};
}
