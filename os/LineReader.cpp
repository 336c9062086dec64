#include "os/LineReader.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace {

QByteArrayView lineWithoutEnd(const char* begin, qsizetype size, bool endsWithFeed)
{
    if (endsWithFeed && size > 0 && begin[size - 1] == '\r')
        --size;
    return QByteArrayView(begin, size);
}

const char* findFeed(const char* begin, qsizetype size)
{
    return static_cast<const char*>(std::memchr(begin, '\n', static_cast<size_t>(size)));
}

} // namespace

LineReader::LineReader(QIODevice& device, qsizetype chunkSize)
    : device_(device), chunkSize_(std::max<qsizetype>(chunkSize, 1))
{ }

bool LineReader::readLine(QByteArray& line)
{
    for (;;) {
        const char* base = buffer_.constData();
        const qsizetype available = buffer_.size() - start_;
        if (scanned_ < available) {
            if (const char* feed = findFeed(base + start_ + scanned_, available - scanned_)) {
                if (lineWithoutEnd(base + start_, feed - base - start_, true).size() > MaxLineLength)
                    return refuseLongLine();
                takeLine(line, feed - base, true);
                return true;
            }
            scanned_ = available;
        }
        // A carriage return at the end may yet turn out to be part of the line end.
        if (scanned_ > MaxLineLength + 1 || (atEnd_ && scanned_ > MaxLineLength))
            return refuseLongLine();
        if (failed_)
            return false;
        if (atEnd_) {
            if (available == 0)
                return false;
            takeLine(line, buffer_.size(), false);
            return true;
        }
        fill();
    }
}

bool LineReader::hasError() const
{
    return failed_;
}

QString LineReader::errorString() const
{
    return errorString_;
}

QByteArrayList LineReader::splitLines(QByteArrayView data)
{
    QByteArrayList lines;
    const char* begin = data.data();
    const char* const end = begin + data.size();
    while (begin != end) {
        const char* feed = findFeed(begin, end - begin);
        const char* lineEnd = feed ? feed : end;
        lines.append(lineWithoutEnd(begin, lineEnd - begin, feed != nullptr).toByteArray());
        begin = feed ? feed + 1 : end;
    }
    return lines;
}

void LineReader::dropByteOrderMark(QByteArray& firstLine)
{
    if (firstLine.startsWith("\xef\xbb\xbf"))
        firstLine.remove(0, 3);
}

void LineReader::takeLine(QByteArray& line, qsizetype end, bool endsWithFeed)
{
    const QByteArrayView bytes = lineWithoutEnd(buffer_.constData() + start_, end - start_, endsWithFeed);
    // Reusing the caller's array keeps a million short lines from costing a million allocations.
    line.resize(bytes.size());
    if (!bytes.isEmpty())
        std::memcpy(line.data(), bytes.data(), static_cast<size_t>(bytes.size()));
    start_ = endsWithFeed ? end + 1 : end;
    scanned_ = 0;
    ++linesRead_;
}

bool LineReader::refuseLongLine()
{
    failed_ = true;
    errorString_ = QStringLiteral("line %1 is longer than %2 KiB").arg(linesRead_ + 1).arg(MaxLineLength / 1024);
    buffer_.clear();
    start_ = 0;
    scanned_ = 0;
    return false;
}

void LineReader::fill()
{
    const qsizetype kept = buffer_.size() - start_;
    if (start_ > 0) {
        if (kept > 0)
            std::memmove(buffer_.data(), buffer_.constData() + start_, static_cast<size_t>(kept));
        buffer_.resize(kept);
        start_ = 0;
    }
    if (buffer_.capacity() < kept + chunkSize_)
        buffer_.reserve(std::max(kept + chunkSize_, 2 * buffer_.capacity()));
    buffer_.resize(kept + chunkSize_);
    const qint64 got = device_.read(buffer_.data() + kept, chunkSize_);
    buffer_.resize(kept + std::max<qint64>(got, 0));
    if (got < 0) {
        failed_ = true;
        errorString_ = device_.errorString();
    } else if (got == 0) {
        atEnd_ = true;
    }
}
