#include "list/NameRules.h"

#include "list/RecordFormat.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

bool isUtf8(QByteArrayView bytes)
{
    // Bytes that are not UTF-8 decode to replacement characters, which do not encode back to them.
    return QString::fromUtf8(bytes).toUtf8() == bytes;
}

// U+202A to U+202E (embeddings, overrides and their end) are E2 80 AA to AE in UTF-8; U+2066 to U+2069
// (isolates and their end) are E2 81 A6 to A9.
char32_t bidirectionalControlIn(QByteArrayView text)
{
    for (qsizetype i = text.indexOf('\xe2'); i >= 0 && i + 2 < text.size(); i = text.indexOf('\xe2', i + 1)) {
        const auto second = quint8(text[i + 1]);
        const auto third = quint8(text[i + 2]);
        if ((second == 0x80 && third >= 0xaa && third <= 0xae) || (second == 0x81 && third >= 0xa6 && third <= 0xa9))
            return char32_t(0x2000 + (second & 0x3f) * 64 + (third & 0x3f));
    }
    return 0;
}

// Whether a name may hold either kind of control. Every name of a list of millions passes here and almost none
// holds one, so eight bytes are looked at together: in a word, (word - bound in every byte) & ~word & the top
// bits is non-zero exactly when one of its bytes is below the bound. The last word overlaps the one before.
bool mayHoldControls(QByteArrayView text)
{
    if (text.size() < 8) {
        return std::any_of(text.begin(), text.end(),
                           [](char c) { return quint8(c) < 0x20 || c == '\x7f' || c == '\xe2'; });
    }
    constexpr quint64 Ones = 0x0101'0101'0101'0101;
    const auto anyBelow = [](quint64 word, quint64 bound) {
        return (word - Ones * bound) & ~word & (Ones * 0x80);
    };
    const auto holds = [&anyBelow](const char* bytes) {
        quint64 word;
        std::memcpy(&word, bytes, sizeof word);
        return (anyBelow(word, 0x20) | anyBelow(word ^ (Ones * 0x7f), 1) | anyBelow(word ^ (Ones * 0xe2), 1)) != 0;
    };
    for (qsizetype i = 0; i + 8 < text.size(); i += 8) {
        if (holds(text.data() + i))
            return true;
    }
    return holds(text.data() + text.size() - 8);
}

} // namespace

NameUses& NameUses::operator|=(const RecordFormat& format)
{
    makesAccounts = makesAccounts || format.makesAccounts;
    forPeople = forPeople || format.forPeople;
    forSpreadsheets = forSpreadsheets || format.forSpreadsheets;
    return *this;
}

NameRules::NameRules(const NameUses& uses, QSet<QByteArray> systemAccounts, bool refuseRepeats)
    : uses_(uses), systemAccounts_(std::move(systemAccounts)), refuseRepeats_(refuseRepeats && uses.makesAccounts)
{ }

QString NameRules::controlRefusal(QByteArrayView text, QStringView what)
{
    for (const char c : text) {
        if (quint8(c) < 0x20 || c == '\x7f') {
            return QStringLiteral("%1 holding the control character 0x%2 is refused")
                .arg(what, QString::number(quint8(c), 16).rightJustified(2, QLatin1Char('0')).toUpper());
        }
    }
    return {};
}

QString NameRules::refusal(const QByteArray& name, quint64 line, QStringView what)
{
    if (name.isEmpty())
        return {};
    const bool controls = mayHoldControls(name);
    if (QString refusal = controls ? controlRefusal(name, what) : QString(); !refusal.isEmpty())
        return refusal;
    if (const char32_t control = controls ? bidirectionalControlIn(name) : 0) {
        return QStringLiteral("%1 holding the bidirectional control U+%2, which makes it read as another "
                              "name, is refused")
            .arg(what, QString::number(quint32(control), 16).toUpper());
    }
    if (uses_.forPeople && !isUtf8(name))
        return QStringLiteral("%1 that is not valid UTF-8 text is refused (save the list as UTF-8)").arg(what);
    if (uses_.forSpreadsheets && QByteArrayView("=+-@").contains(name.front())) {
        return QStringLiteral("%1 starting with '%2' is refused: spreadsheets run it as a formula")
            .arg(what, QString(QLatin1Char(name.front())));
    }
    if (!uses_.makesAccounts)
        return {};
    if (systemAccounts_.contains(name)) {
        return QStringLiteral("%1 is an account of the system itself (--allow-system-accounts lets it through)")
            .arg(QString::fromUtf8(name));
    }
    if (refuseRepeats_) {
        if (const quint64 first = linesOfNames_.insert(name, line))
            return QStringLiteral("%1 is also on line %2").arg(QString::fromUtf8(name)).arg(first);
    }
    return {};
}
