#include "cli/ValueReader.h"

#include "list/RecordFormat.h"

#include <QCommandLineParser>

#include <algorithm>

void ValueReader::number(const QCommandLineOption& option, quint64 maximum, quint64& field, quint64 minimum)
{
    if (refusal_ || !isSet(option))
        return;
    const QString text = value(option);
    bool parsed = !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); });
    const quint64 number = parsed ? text.toULongLong(&parsed) : 0;
    if (parsed && number >= minimum && number <= maximum)
        field = number;
    else
        refusal_ = refuse(
            longName(option),
            QStringLiteral("%1 is not a whole number from %2 to %3").arg(quoted(text)).arg(minimum).arg(maximum));
}

void ValueReader::format(const QCommandLineOption& option, const RecordFormat*& field)
{
    if (refusal_ || !isSet(option))
        return;
    const QString text = value(option);
    if (const RecordFormat* found = RecordFormat::find(text)) {
        field = found;
        return;
    }
    QStringList known;
    for (const RecordFormat& format : RecordFormat::all())
        known.append(QString::fromLatin1(format.name));
    refuseWord(option, text, known);
}

void ValueReader::fileName(const QCommandLineOption& option, QString& field)
{
    if (refusal_ || !isSet(option))
        return;
    field = value(option);
    if (field.isEmpty())
        refusal_ = refuse(longName(option), QStringLiteral("no file name given"));
}

bool ValueReader::isSet(const QCommandLineOption& option) const
{
    return parser_.isSet(option);
}

QString ValueReader::value(const QCommandLineOption& option) const
{
    return parser_.value(option);
}

void ValueReader::refuseWord(const QCommandLineOption& option, const QString& text, const QStringList& known)
{
    refusal_ = refuse(longName(option),
                      QStringLiteral("%1 is not one of %2").arg(quoted(text), known.join(QStringLiteral(", "))));
}
