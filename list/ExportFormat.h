#pragma once

#include "engine/GeneratorOptions.h"
#include "list/RecordWriter.h"

#include <QByteArray>
#include <QByteArrayView>

// The export file: each record is the password, then a comma and the username when there is one.
// One per line ends every record, the last included, with a line feed; CSV puts a comma between
// records and nothing after the last. Bytes go out exactly as given: no quoting, no escaping.
void appendExportRecord(QByteArray& out, QByteArrayView password, QByteArrayView username, SaveLayout layout,
                        bool last);

// Records in that format, oldest first, handed to a sink in large pieces as they are added: the window's
// Save writes through it, and the command line's lines and csv formats are the same records.
class ExportWriter final : public RecordWriter
{
public:
    ExportWriter(SaveLayout layout, Sink sink, qsizetype bufferSize = DefaultBufferSize)
        : RecordWriter(layout == SaveLayout::Csv ? RecordFormat::Csv : RecordFormat::Lines, true, std::move(sink),
                       bufferSize)
    { }
};
