#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QString>

class QIODevice;

// Reads the lines of a text file as bytes, the one way every file of the program is read.
// A line ends at a line feed; a carriage return right before that line feed is part of the line end,
// any other carriage return is an ordinary byte. A last line without a line feed is still a line.
// Nothing else is touched: NUL bytes and invalid UTF-8 come back as they were. A line longer than
// MaxLineLength bytes is a read error that names its number, so that a file without line feeds (/dev/zero)
// cannot take all memory.
class LineReader
{
    Q_DISABLE_COPY_MOVE(LineReader)

public:
    static constexpr qsizetype DefaultChunkSize = 64 * 1024;
    static constexpr qsizetype MaxLineLength = 64 * 1024;

    // The device must be open for reading and give 0 bytes only at its end, as files and buffers do.
    explicit LineReader(QIODevice& device, qsizetype chunkSize = DefaultChunkSize);

    // False at the end of the data or on a read error; hasError() tells the two apart.
    bool readLine(QByteArray& line);
    bool hasError() const;
    QString errorString() const;

    // The same rules on bytes already in memory.
    static QByteArrayList splitLines(QByteArrayView data);
    // Takes off the UTF-8 byte order mark that Windows tools put at the very start of a text file: given the
    // file's first line, it leaves the text alone.
    static void dropByteOrderMark(QByteArray& firstLine);

private:
    void takeLine(QByteArray& line, qsizetype end, bool endsWithFeed);
    void fill();
    bool refuseLongLine();

    QIODevice& device_;
    const qsizetype chunkSize_;
    QByteArray buffer_;
    // The unread bytes are buffer_[start_, size); the first scanned_ of them hold no line feed.
    qsizetype start_ = 0;
    qsizetype scanned_ = 0;
    qint64 linesRead_ = 0;
    bool atEnd_ = false;
    bool failed_ = false;
    QString errorString_;
};
