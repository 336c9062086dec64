#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// A site's password rules in the small language that the web's password managers read:
//   minlength: 8; maxlength: 32; required: lower, upper; required: digit; allowed: [-_./\@$*&!#]; max-consecutive: 2
// Properties end at ";", the classes of a property are separated by ",". A class is upper, lower, digit,
// special, ascii-printable, unicode, or a set of characters in brackets, where "]" stands for itself first and
// "-" first or last.
struct PasswordRules
{
    static constexpr qint32 DefaultLength = 16;

    // A set that a password must hold at least one character of, and the property as written.
    struct Requirement
    {
        QByteArray characters;
        QString text;
    };

    qint32 minLength = 0;
    std::optional<qint32> maxLength;
    // No character more than this many times in a row.
    std::optional<qint32> maxConsecutive;
    QList<Requirement> required;
    // The characters of every allowed property.
    QByteArray allowed;

    // The rules of a text, or none with `error` quoting what could not be read, as a user's mistake.
    static std::optional<PasswordRules> parse(QStringView text, QString& error);

    // The characters a password may hold: those of the required and allowed properties, or the printable ASCII
    // characters when there are none.
    QByteArray characters() const;

    // The length asked for when it lies in the rules' range, else none with `error` naming the range; with no
    // length asked for, 16 held inside the range.
    std::optional<qint32> lengthFor(std::optional<qint32> asked, QString& error) const;
};
