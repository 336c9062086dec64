#include "engine/Roster.h"

#include <QList>

#include <algorithm>
#include <array>
#include <optional>

namespace {

enum class Column { Ignored, First, Last, Full, Username, Email, Group };

struct ColumnName
{
    const char* name;
    Column column;
};

constexpr ColumnName ColumnNames[] = {
    {"first", Column::First},        {"firstname", Column::First},    {"givenname", Column::First},
    {"given", Column::First},        {"forename", Column::First},     {"vorname", Column::First},
    {"prenom", Column::First},       {"last", Column::Last},          {"lastname", Column::Last},
    {"surname", Column::Last},       {"familyname", Column::Last},    {"family", Column::Last},
    {"nachname", Column::Last},      {"nom", Column::Last},           {"name", Column::Full},
    {"fullname", Column::Full},      {"displayname", Column::Full},   {"username", Column::Username},
    {"login", Column::Username},     {"loginname", Column::Username}, {"user", Column::Username},
    {"userid", Column::Username},    {"email", Column::Email},        {"mail", Column::Email},
    {"emailaddress", Column::Email}, {"class", Column::Group},        {"group", Column::Group},
    {"classname", Column::Group},    {"form", Column::Group},         {"klasse", Column::Group},
};

Column columnNamed(QByteArrayView header)
{
    QByteArray key;
    for (const char c : header) {
        if (c != ' ' && c != '_' && c != '-' && c != '\t')
            key.append(c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c);
    }
    for (const ColumnName& entry : ColumnNames) {
        if (key == entry.name)
            return entry.column;
    }
    return Column::Ignored;
}

char delimiterOf(QByteArrayView bytes)
{
    const QByteArrayView header = bytes.first(std::max<qsizetype>(bytes.indexOf('\n'), 0));
    const std::array<char, 3> candidates{',', ';', '\t'};
    char best = ',';
    qsizetype most = 0;
    for (const char c : candidates) {
        const qsizetype count = std::count(header.begin(), header.end(), c);
        if (count > most) {
            most = count;
            best = c;
        }
    }
    return bytes.indexOf('\n') < 0 && most == 0 ? ',' : best;
}

// Control characters, and the bidirectional controls that make a name print as another.
bool holdsControl(QByteArrayView bytes)
{
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return quint8(c) >= 0x20 && quint8(c) < 0x7f; }))
        return false;
    const QString text = QString::fromUtf8(bytes);
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        const char16_t u = c.unicode();
        return u < 0x20 || u == 0x7f || (u >= 0x80 && u < 0xa0) || (u >= 0x202a && u <= 0x202e)
            || (u >= 0x2066 && u <= 0x2069);
    });
}

// Reads one record after another, counting lines as it goes.
class CsvReader
{
public:
    CsvReader(QByteArrayView bytes, char delimiter) : bytes_(bytes), delimiter_(delimiter) { }

    bool atEnd() const { return pos_ >= bytes_.size(); }
    qsizetype line() const { return line_; }

    // The fields of the next record; nullopt with the error set when the quoting is broken.
    std::optional<QList<QByteArray>> next(QString& error)
    {
        QList<QByteArray> fields;
        for (;;) {
            QByteArray field;
            if (pos_ < bytes_.size() && bytes_[pos_] == '"') {
                const qsizetype openedOn = line_;
                ++pos_;
                for (;;) {
                    if (pos_ >= bytes_.size()) {
                        error = QStringLiteral("line %1, column %2: the quote opened here is never closed")
                                    .arg(openedOn)
                                    .arg(fields.size() + 1);
                        return std::nullopt;
                    }
                    const char c = bytes_[pos_++];
                    if (c == '"') {
                        if (pos_ < bytes_.size() && bytes_[pos_] == '"') {
                            field.append('"');
                            ++pos_;
                            continue;
                        }
                        break;
                    }
                    if (c == '\n')
                        ++line_;
                    field.append(c);
                }
                if (pos_ < bytes_.size() && bytes_[pos_] != delimiter_ && bytes_[pos_] != '\n'
                    && !(bytes_[pos_] == '\r' && (pos_ + 1 == bytes_.size() || bytes_[pos_ + 1] == '\n'))) {
                    error = QStringLiteral("line %1, column %2: text after the closing quote")
                                .arg(line_)
                                .arg(fields.size() + 1);
                    return std::nullopt;
                }
            } else {
                const qsizetype start = pos_;
                while (pos_ < bytes_.size() && bytes_[pos_] != delimiter_ && bytes_[pos_] != '\n')
                    ++pos_;
                field = bytes_.sliced(start, pos_ - start).toByteArray();
                if (field.endsWith('\r') && (pos_ == bytes_.size() || bytes_[pos_] == '\n'))
                    field.chop(1);
            }
            fields.append(field);
            if (pos_ < bytes_.size() && bytes_[pos_] == delimiter_) {
                ++pos_;
                continue;
            }
            if (pos_ < bytes_.size() && bytes_[pos_] == '\r')
                ++pos_;
            if (pos_ < bytes_.size()) {
                ++pos_;
                ++line_;
            }
            return fields;
        }
    }

private:
    QByteArrayView bytes_;
    char delimiter_;
    qsizetype pos_ = 0;
    qsizetype line_ = 1;
};

} // namespace

bool Roster::read(QByteArrayView bytes)
{
    people_.clear();
    if (bytes.startsWith("\xef\xbb\xbf"))
        bytes = bytes.sliced(3);
    CsvReader csv(bytes, delimiterOf(bytes));
    const auto header = csv.next(errorString_);
    if (!header)
        return false;
    QList<Column> columns;
    bool anyName = false;
    bool splitFull = true;
    for (const QByteArray& name : *header) {
        columns.append(columnNamed(name.trimmed()));
        anyName = anyName || columns.constLast() != Column::Ignored;
        splitFull = splitFull && columns.constLast() != Column::First && columns.constLast() != Column::Last;
    }
    if (!anyName || !std::any_of(columns.cbegin(), columns.cend(), [](Column c) {
            return c == Column::First || c == Column::Last || c == Column::Full || c == Column::Username;
        })) {
        errorString_ = QStringLiteral("line 1: no column of first names, last names, names or usernames in the header");
        return false;
    }
    const auto columnName = [&header](qsizetype i) {
        return QStringLiteral("column %1 (%2)").arg(i + 1).arg(QString::fromUtf8(header->at(i).trimmed()));
    };
    while (!csv.atEnd()) {
        const qsizetype line = csv.line();
        const auto fields = csv.next(errorString_);
        if (!fields)
            return false;
        RosterPerson person;
        person.line = line;
        bool empty = true;
        for (qsizetype i = 0; i < fields->size(); ++i) {
            const QByteArray value = fields->at(i).trimmed();
            empty = empty && value.isEmpty();
            if (i >= columns.size()) {
                if (value.isEmpty())
                    continue;
                errorString_ =
                    QStringLiteral("line %1, column %2: more fields than the header names").arg(line).arg(i + 1);
                return false;
            }
            if (columns[i] == Column::Ignored)
                continue;
            if (!QByteArrayView(value).isValidUtf8()) {
                errorString_ = QStringLiteral("line %1, %2: not UTF-8 text (save the roster as UTF-8)")
                                   .arg(line)
                                   .arg(columnName(i));
                return false;
            }
            if (holdsControl(value)) {
                errorString_ = QStringLiteral("line %1, %2: holds a control character").arg(line).arg(columnName(i));
                return false;
            }
            QByteArray* field[] = {nullptr,          &person.first, &person.last, &person.fullName,
                                   &person.username, &person.email, &person.group};
            *field[int(columns[i])] = value;
        }
        if (empty)
            continue;
        if (person.fullName.isEmpty()) {
            person.fullName = (person.first + ' ' + person.last).trimmed();
        } else if (splitFull) {
            const qsizetype space = person.fullName.lastIndexOf(' ');
            person.first = space < 0 ? person.fullName : person.fullName.left(space).trimmed();
            person.last = space < 0 ? QByteArray() : person.fullName.mid(space + 1);
        }
        person.usernameGiven = !person.username.isEmpty();
        if (person.fullName.isEmpty() && !person.usernameGiven) {
            errorString_ = QStringLiteral("line %1: neither a name nor a username").arg(line);
            return false;
        }
        people_.push_back(std::move(person));
    }
    return true;
}
