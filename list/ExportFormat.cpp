#include "list/ExportFormat.h"

#include "engine/SecretBlock.h"

void appendExportRecord(QByteArray& out, QByteArrayView password, QByteArrayView username, SaveLayout layout, bool last)
{
    out.append(password);
    if (!username.isEmpty()) {
        out.append(',');
        out.append(username);
    }
    if (layout == SaveLayout::OnePerLine)
        out.append('\n');
    else if (!last)
        out.append(',');
}

ExportWriter::ExportWriter(SaveLayout layout, Sink sink, qsizetype bufferSize)
    : layout_(layout), sink_(std::move(sink)), bufferSize_(bufferSize)
{
    buffer_.reserve(bufferSize_ + 1024);
    excludeFromCoreDumps(buffer_.constData(), std::size_t(buffer_.capacity()));
}

bool ExportWriter::add(QByteArrayView password, QByteArrayView username)
{
    if (failed_)
        return false;
    // Whether a CSV record is the last is known only when the next one comes, so the comma between two
    // records goes out with the second.
    if (layout_ == SaveLayout::Csv && anyRecord_)
        buffer_.append(',');
    appendExportRecord(buffer_, password, username, layout_, true);
    anyRecord_ = true;
    return buffer_.size() < bufferSize_ || flush();
}

bool ExportWriter::flush()
{
    if (failed_)
        return false;
    if (!buffer_.isEmpty() && !sink_(buffer_))
        failed_ = true;
    buffer_.resize(0);
    return !failed_;
}
