#pragma once

#include "engine/GeneratorOptions.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>

// Records in large pieces, handed to a sink as they are added: what the window saves and what the command
// line writes for the next program to read. Lines and Csv are the window's export layouts,
// byte for byte. Table is RFC 4180 CSV with a header row, username first, CRLF line ends; Chpasswd is
// "username:password" a line; Json is JSON Lines, {"username":"…","password":"…"} a line. Without usernames
// the records hold the password alone (Chpasswd has no such form).
enum class RecordFormat { Lines, Csv, Table, Chpasswd, Json };

// The export file: each record is the password, then a comma and the username when there is one.
// One per line ends every record, the last included, with a line feed; CSV puts a comma between
// records and nothing after the last. Bytes go out exactly as given: no quoting, no escaping.
void appendExportRecord(QByteArray& out, QByteArrayView password, QByteArrayView username, SaveLayout layout,
                        bool last);

class RecordWriter
{
    Q_DISABLE_COPY_MOVE(RecordWriter)

public:
    // Takes the next bytes of the file; false when they could not be written.
    using Sink = std::function<bool(QByteArrayView)>;
    static constexpr qsizetype DefaultBufferSize = 256 * 1024;

    RecordWriter(RecordFormat format, bool withUsernames, Sink sink, qsizetype bufferSize = DefaultBufferSize);
    ~RecordWriter();

    // Why a username cannot go into a record of the format (empty, holding ':', not UTF-8), or empty when it can.
    static QString refusal(RecordFormat format, QByteArrayView username);

    // False once the sink has failed; nothing more reaches it then.
    bool add(QByteArrayView password, QByteArrayView username);
    // Hands the sink what is still buffered. Records not flushed are dropped with the writer.
    bool flush();

private:
    void appendTableField(QByteArrayView field);
    void appendJsonString(QByteArrayView text);

    RecordFormat format_;
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
        : RecordWriter(layout == SaveLayout::Csv ? RecordFormat::Csv : RecordFormat::Lines, true, std::move(sink),
                       bufferSize)
    { }
};
