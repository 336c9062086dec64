#include "list/RecordWriter.h"

#include "os/SecretBlock.h"

RecordWriter::RecordWriter(const RecordFormat& format, bool withUsernames, Sink sink, qsizetype bufferSize)
    : format_(format), between_(format.between), sink_(std::move(sink)), bufferSize_(bufferSize)
{
    buffer_.reserve(bufferSize_ + 1024);
    protectSecretMemory(buffer_.constData(), std::size_t(buffer_.capacity()));
    if (format_.header)
        format_.header(buffer_, withUsernames);
}

RecordWriter::~RecordWriter()
{
    releaseSecretMemory(buffer_.constData(), std::size_t(buffer_.capacity()));
}

bool RecordWriter::add(const Record& record)
{
    if (failed_)
        return false;
    if (anyRecord_ && !between_.isEmpty())
        buffer_.append(between_);
    format_.append(buffer_, record);
    anyRecord_ = true;
    return buffer_.size() < bufferSize_ || flush();
}

bool RecordWriter::flush()
{
    if (failed_)
        return false;
    if (!buffer_.isEmpty() && !sink_(buffer_))
        failed_ = true;
    buffer_.resize(0);
    return !failed_;
}
