#include "engine/WordList.h"

#include "os/LineReader.h"

#include <QFile>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>

namespace {

struct BuiltIn
{
    const char* name;
    const char* resource;
};

constexpr BuiltIn BuiltInLists[] = {
    {"large", ":/wordlists/eff-large.txt"},
    {"short", ":/wordlists/eff-short.txt"},
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isControl(char c)
{
    return static_cast<quint8>(c) < 0x20 || c == 0x7f;
}

bool isUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(bytes);
    return !decoder.hasError();
}

// Collects the words of one file; the first fault found ends it.
class WordCollector
{
public:
    bool add(QByteArrayView line)
    {
        ++lineNumber_;
        if (lineNumber_ == 1 && line.startsWith("\xef\xbb\xbf"))
            line = line.sliced(3);
        while (!line.isEmpty() && isBlank(line.front()))
            line = line.sliced(1);
        while (!line.isEmpty() && isBlank(line.back()))
            line.chop(1);
        if (line.isEmpty())
            return true;
        if (std::any_of(line.begin(), line.end(), isBlank))
            return fail(QStringLiteral("line %1 holds more than one word").arg(lineNumber_));
        if (std::any_of(line.begin(), line.end(), isControl))
            return fail(QStringLiteral("line %1 holds a control character").arg(lineNumber_));
        if (!isUtf8(line))
            return fail(QStringLiteral("line %1 is not UTF-8").arg(lineNumber_));
        words_.append(line.toByteArray());
        return true;
    }

    QByteArrayList words() const { return words_; }
    QString error() const { return error_; }

private:
    bool fail(const QString& error)
    {
        error_ = error;
        return false;
    }

    QByteArrayList words_;
    qint64 lineNumber_ = 0;
    QString error_;
};

} // namespace

WordList::WordList(const QByteArrayList& words)
{
    QSet<QByteArray> seen;
    for (const QByteArray& word : words) {
        if (!word.isEmpty() && !seen.contains(word)) {
            seen.insert(word);
            words_.append(word);
        }
    }
}

QStringList WordList::builtInNames()
{
    QStringList names;
    for (const BuiltIn& list : BuiltInLists)
        names.append(QString::fromLatin1(list.name));
    return names;
}

std::optional<WordList> WordList::builtIn(QStringView name)
{
    for (const BuiltIn& list : BuiltInLists) {
        if (name != QLatin1String(list.name))
            continue;
        QFile file(QString::fromLatin1(list.resource));
        WordList words;
        QString error;
        if (!file.open(QIODevice::ReadOnly) || read(file, words, error) != ReadResult::Read)
            qFatal("The word list %s compiled into the program cannot be read", list.name);
        return words;
    }
    return std::nullopt;
}

WordList WordList::large()
{
    static const WordList words = *builtIn(u"large");
    return words;
}

WordList::ReadResult WordList::read(QIODevice& device, WordList& list, QString& error)
{
    LineReader reader(device);
    WordCollector collector;
    QByteArray line;
    while (reader.readLine(line)) {
        if (!collector.add(line)) {
            error = collector.error();
            return ReadResult::NotAWordList;
        }
    }
    if (reader.hasError()) {
        error = reader.errorString();
        return ReadResult::ReadFailed;
    }
    WordList words(collector.words());
    if (words.size() < MinimumWords) {
        error = QStringLiteral("holds only %1 different words; a word list needs at least %2")
                    .arg(words.size())
                    .arg(MinimumWords);
        return ReadResult::NotAWordList;
    }
    list = std::move(words);
    return ReadResult::Read;
}
