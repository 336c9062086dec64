#pragma once

#include "engine/GeneratorOptions.h"

#include <QByteArray>
#include <QByteArrayView>

#include <functional>

// The export file: each record is the password, then a comma and the username when there is one.
// One per line ends every record, the last included, with a line feed; CSV puts a comma between
// records and nothing after the last. Bytes go out exactly as given: no quoting, no escaping.
void appendExportRecord(QByteArray& out, QByteArrayView password, QByteArrayView username, SaveLayout layout,
                        bool last);

// Records in that format, oldest first, handed to a sink in large pieces as they are added: the window's
// Save and the command line both write through it.
class ExportWriter
{
    Q_DISABLE_COPY_MOVE(ExportWriter)

public:
    // Takes the next bytes of the file; false when they could not be written.
    using Sink = std::function<bool(QByteArrayView)>;
    static constexpr qsizetype DefaultBufferSize = 256 * 1024;

    ExportWriter(SaveLayout layout, Sink sink, qsizetype bufferSize = DefaultBufferSize);

    // False once the sink has failed; nothing more reaches it then.
    bool add(QByteArrayView password, QByteArrayView username);
    // Hands the sink what is still buffered. Records not flushed are dropped with the writer.
    bool flush();

private:
    SaveLayout layout_;
    Sink sink_;
    qsizetype bufferSize_;
    QByteArray buffer_;
    bool anyRecord_ = false;
    bool failed_ = false;
};
