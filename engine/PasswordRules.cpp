#include "engine/PasswordRules.h"

#include <algorithm>
#include <limits>

namespace {

// The language's special class as its reference lists it: the printable ASCII characters that are neither
// letters nor digits, less "/" and "\" (a site that takes them names them in a set, as [-_./\@] does). The
// blank, which the reference counts as special too, is left out of special and ascii-printable: it breaks a
// password apart in a shell, in files of blank-separated fields and on a printed slip, and a password without
// it still meets every rule. A set that names the blank keeps it.
constexpr char Special[] = "-~!@#$%^&*_+=`|(){}[:;\"'<>,.?]";

QByteArray range(char first, char last)
{
    QByteArray characters;
    for (char c = first; c <= last; ++c)
        characters += c;
    return characters;
}

std::optional<QByteArray> classCharacters(const QString& name)
{
    if (name == u"upper")
        return range('A', 'Z');
    if (name == u"lower")
        return range('a', 'z');
    if (name == u"digit")
        return range('0', '9');
    if (name == u"special")
        return QByteArray(Special);
    // Passwords are drawn from printable ASCII alone, every character of which is a unicode one as well.
    if (name == u"ascii-printable" || name == u"unicode")
        return range('!', '~');
    return std::nullopt;
}

QByteArray sortedUnique(QByteArray characters)
{
    std::sort(characters.begin(), characters.end());
    characters.truncate(std::unique(characters.begin(), characters.end()) - characters.begin());
    return characters;
}

QString quoted(QStringView text)
{
    return QStringLiteral("\"%1\"").arg(text.trimmed());
}

class RuleReader
{
public:
    explicit RuleReader(QStringView text) : text_(text) { }

    bool read(PasswordRules& rules)
    {
        for (;;) {
            skipSpaces();
            if (atEnd())
                return true;
            if (peek() == u';')
                ++at_;
            else if (!readProperty(rules))
                return false;
        }
    }

    QString error() const { return error_; }

private:
    bool atEnd() const { return at_ >= text_.size(); }
    QChar peek() const { return text_.at(at_); }
    bool atPropertyEnd() const { return atEnd() || peek() == u';'; }

    void skipSpaces()
    {
        while (!atEnd() && peek().isSpace())
            ++at_;
    }

    // The property that starts there, up to its ";", for messages.
    QStringView propertyFrom(qsizetype start) const
    {
        const qsizetype end = text_.indexOf(u';', at_);
        return text_.sliced(start, (end < 0 ? text_.size() : end) - start);
    }

    bool fail(const QString& error)
    {
        error_ = error;
        return false;
    }

    bool readProperty(PasswordRules& rules)
    {
        const qsizetype start = at_;
        while (!atPropertyEnd() && peek() != u':')
            ++at_;
        if (atPropertyEnd())
            return fail(QStringLiteral("%1 has no \":\"").arg(quoted(text_.sliced(start, at_ - start))));
        const QStringView written = text_.sliced(start, at_ - start).trimmed();
        const QString name = written.toString().toLower();
        ++at_;
        if (name == u"required" || name == u"allowed") {
            QByteArray characters;
            if (!readClasses(characters, start))
                return false;
            if (name == u"required")
                rules.required.append({sortedUnique(characters), propertyFrom(start).trimmed().toString()});
            else
                rules.allowed = sortedUnique(rules.allowed + characters);
        } else if (name == u"minlength" || name == u"maxlength" || name == u"max-consecutive") {
            while (!atPropertyEnd())
                ++at_;
            qint32 number = 0;
            if (!readNumber(text_.sliced(start, at_ - start), number))
                return false;
            // A property given twice holds at its strictest.
            if (name == u"minlength")
                rules.minLength = std::max(rules.minLength, number);
            else if (name == u"maxlength")
                rules.maxLength = std::min(rules.maxLength.value_or(number), number);
            else
                rules.maxConsecutive = std::min(rules.maxConsecutive.value_or(number), number);
        } else {
            return fail(QStringLiteral("unknown property %1").arg(quoted(written)));
        }
        return true;
    }

    bool readNumber(QStringView property, qint32& number)
    {
        const QStringView digits = property.sliced(property.indexOf(u':') + 1).trimmed();
        constexpr qsizetype MostDigits = 9;
        const bool allDigits =
            std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        if (digits.isEmpty() || !allDigits || digits.size() > MostDigits)
            return fail(QStringLiteral("%1 does not give a number of characters").arg(quoted(property)));
        number = digits.toInt();
        return true;
    }

    bool readClasses(QByteArray& characters, qsizetype start)
    {
        for (;;) {
            skipSpaces();
            if (!atEnd() && peek() == u'[') {
                if (!readSet(characters))
                    return false;
            } else {
                const qsizetype nameStart = at_;
                while (!atEnd() && (peek().isLetterOrNumber() || peek() == u'-'))
                    ++at_;
                const QStringView name = text_.sliced(nameStart, at_ - nameStart);
                if (name.isEmpty() && atPropertyEnd())
                    return fail(QStringLiteral("%1 names no characters").arg(quoted(propertyFrom(start))));
                if (name.isEmpty())
                    return fail(QStringLiteral("unexpected \"%1\" in %2").arg(peek()).arg(quoted(propertyFrom(start))));
                const auto named = classCharacters(name.toString().toLower());
                if (!named)
                    return fail(QStringLiteral("unknown character class %1").arg(quoted(name)));
                characters += *named;
            }
            skipSpaces();
            if (atPropertyEnd())
                return true;
            if (peek() != u',')
                return fail(QStringLiteral("unexpected \"%1\" in %2").arg(peek()).arg(quoted(propertyFrom(start))));
            ++at_;
        }
    }

    bool readSet(QByteArray& characters)
    {
        const qsizetype open = at_;
        qsizetype close = open + 1;
        if (close < text_.size() && text_.at(close) == u']')
            ++close;
        close = text_.indexOf(u']', close);
        if (close < 0)
            return fail(QStringLiteral("%1 is not a closed set").arg(quoted(text_.sliced(open))));
        const QStringView set = text_.sliced(open, close - open + 1);
        const QStringView inside = set.sliced(1, set.size() - 2);
        for (qsizetype i = 0; i < inside.size(); ++i) {
            const char16_t c = inside.at(i).unicode();
            if (c < u' ' || c > u'~')
                return fail(QStringLiteral("%1 holds a character that is not printable ASCII").arg(quoted(set)));
            if (c == u'-' && i != 0 && i != inside.size() - 1)
                return fail(QStringLiteral("%1: a \"-\" stands for itself only first or last in a set, and there "
                                           "are no ranges")
                                .arg(quoted(set)));
            characters += char(c);
        }
        at_ = close + 1;
        return true;
    }

    QStringView text_;
    qsizetype at_ = 0;
    QString error_;
};

} // namespace

std::optional<PasswordRules> PasswordRules::parse(QStringView text, QString& error)
{
    PasswordRules rules;
    RuleReader reader(text);
    if (!reader.read(rules)) {
        error = reader.error();
        return std::nullopt;
    }
    if (rules.maxConsecutive == 0) {
        error = QStringLiteral("a max-consecutive of 0 allows no character at all");
        return std::nullopt;
    }
    const qint32 shortest = std::max(rules.minLength, 1);
    if (rules.maxLength && *rules.maxLength < shortest) {
        error =
            QStringLiteral("the rules' maxlength %1 is below their minlength %2").arg(*rules.maxLength).arg(shortest);
        return std::nullopt;
    }
    return rules;
}

QByteArray PasswordRules::characters() const
{
    if (required.isEmpty() && allowed.isEmpty())
        return range('!', '~');
    QByteArray characters = allowed;
    for (const Requirement& requirement : required)
        characters += requirement.characters;
    return sortedUnique(characters);
}

std::optional<qint32> PasswordRules::lengthFor(std::optional<qint32> asked, QString& error) const
{
    const qint32 shortest = std::max(minLength, 1);
    const qint32 longest = maxLength.value_or(std::numeric_limits<qint32>::max());
    if (!asked)
        return std::clamp(DefaultLength, shortest, longest);
    if (*asked >= shortest && *asked <= longest)
        return asked;
    error = maxLength ? QStringLiteral("a length of %1 is outside the rules' range of %2 to %3")
                            .arg(*asked)
                            .arg(shortest)
                            .arg(longest)
                      : QStringLiteral("a length of %1 is below the rules' minlength of %2").arg(*asked).arg(shortest);
    return std::nullopt;
}
