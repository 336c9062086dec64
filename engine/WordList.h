#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

class QIODevice;

// The words a passphrase is drawn from: distinct, none empty, in UTF-8, in the order first given.
class WordList
{
public:
    // A file of fewer different words is refused: its passphrases would be weaker than their length
    // suggests (under 10 bits a word).
    static constexpr qsizetype MinimumWords = 1000;

    WordList() = default;
    // Empty words and every repeat of a word are dropped.
    explicit WordList(const QByteArrayList& words);

    // The lists compiled into the program: "large", the EFF's 7776 words (12.9 bits a word), and "short", its
    // 1296 short and easy words (10.3 bits a word).
    static QStringList builtInNames();
    static std::optional<WordList> builtIn(QStringView name);
    static WordList large();

    enum class ReadResult {
        Read,
        // The device failed; the reader's error tells why.
        ReadFailed,
        // Read, but not a list to draw passphrases from: too few different words, a line of two words, a
        // control character or bytes that are not UTF-8. The error names the fault, and the line where it has
        // one, for a user to mend the file.
        NotAWordList,
    };
    // One word a line, leading and trailing blanks and a byte order mark ignored; blank lines and repeats are
    // skipped. The error leaves out the file's name, which the caller knows.
    static ReadResult read(QIODevice& device, WordList& list, QString& error);

    const QByteArrayList& words() const { return words_; }
    qsizetype size() const { return words_.size(); }

private:
    QByteArrayList words_;
};
