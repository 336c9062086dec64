#pragma once

#include "list/RecordFormat.h"

#include <QByteArray>
#include <QByteArrayView>

#include <functional>

// Records in large pieces, handed to a sink as they are added: what the window saves and what the command
// line writes for the next program to read, in any format of the table.
class RecordWriter
{
    Q_DISABLE_COPY_MOVE(RecordWriter)

public:
    // Takes the next bytes of the file; false when they could not be written.
    using Sink = std::function<bool(QByteArrayView)>;
    static constexpr qsizetype DefaultBufferSize = 256 * 1024;

    RecordWriter(const RecordFormat& format, bool withUsernames, Sink sink, qsizetype bufferSize = DefaultBufferSize);
    ~RecordWriter();

    // False once the sink has failed; nothing more reaches it then. Inline: a run adds millions of records.
    bool add(QByteArrayView password, QByteArrayView username) { return add(Record{password, username}); }
    bool add(const Record& record)
    {
        if (failed_)
            return false;
        if (anyRecord_ && !between_.isEmpty())
            buffer_.append(between_);
        format_.append(buffer_, record);
        anyRecord_ = true;
        return buffer_.size() < bufferSize_ || flush();
    }
    // Hands the sink what is still buffered. Records not flushed are dropped with the writer.
    bool flush();

private:
    const RecordFormat& format_;
    QByteArrayView between_;
    Sink sink_;
    qsizetype bufferSize_;
    QByteArray buffer_;
    bool anyRecord_ = false;
    bool failed_ = false;
};

// Records in the export format, oldest first: the window's Save writes through it, and the command line's
// lines and csv formats are the same records.
class ExportWriter final : public RecordWriter
{
public:
    ExportWriter(SaveLayout layout, Sink sink, qsizetype bufferSize = DefaultBufferSize)
        : RecordWriter(RecordFormat::forExport(layout), true, std::move(sink), bufferSize)
    { }
};
