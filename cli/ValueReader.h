#pragma once

#include "cli/UsageError.h"

#include <QString>
#include <QStringList>

#include <optional>

class QCommandLineOption;
class QCommandLineParser;
struct RecordFormat;

// A word an option takes, and what it stands for.
template<typename Enum>
struct Word
{
    const char* text;
    Enum value;
};

// Takes the values of the options that were given into the record; the first that does not fit is refused,
// and after it nothing more is read.
class ValueReader
{
public:
    explicit ValueReader(const QCommandLineParser& parser) : parser_(parser) { }

    // Digits only: no sign, no blanks, nothing after.
    void number(const QCommandLineOption& option, quint64 maximum, quint64& field, quint64 minimum = 1);

    template<typename Enum, std::size_t N>
    void word(const QCommandLineOption& option, const Word<Enum> (&words)[N], Enum& field)
    {
        if (refusal_ || !isSet(option))
            return;
        const QString text = value(option);
        QStringList known;
        for (const Word<Enum>& entry : words) {
            if (text == QLatin1String(entry.text)) {
                field = entry.value;
                return;
            }
            known.append(QString::fromLatin1(entry.text));
        }
        refuseWord(option, text, known);
    }

    void format(const QCommandLineOption& option, const RecordFormat*& field);
    // A file name; an empty one is refused.
    void fileName(const QCommandLineOption& option, QString& field);

    const std::optional<UsageError>& refusal() const { return refusal_; }

private:
    bool isSet(const QCommandLineOption& option) const;
    QString value(const QCommandLineOption& option) const;
    void refuseWord(const QCommandLineOption& option, const QString& text, const QStringList& known);

    const QCommandLineParser& parser_;
    std::optional<UsageError> refusal_;
};
