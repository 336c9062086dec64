#include "list/RecordWriter.h"

#include "os/SecretBlock.h"

#include <QString>

#include <algorithm>

namespace {

bool isUtf8(QByteArrayView bytes)
{
    // Bytes that are not UTF-8 decode to replacement characters, which do not encode back to them.
    return QString::fromUtf8(bytes).toUtf8() == bytes;
}

} // namespace

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

RecordWriter::RecordWriter(RecordFormat format, bool withUsernames, Sink sink, qsizetype bufferSize)
    : format_(format), sink_(std::move(sink)), bufferSize_(bufferSize)
{
    buffer_.reserve(bufferSize_ + 1024);
    protectSecretMemory(buffer_.constData(), std::size_t(buffer_.capacity()));
    if (format_ == RecordFormat::Table)
        buffer_.append(withUsernames ? "username,password\r\n" : "password\r\n");
}

RecordWriter::~RecordWriter()
{
    releaseSecretMemory(buffer_.constData(), std::size_t(buffer_.capacity()));
}

QString RecordWriter::refusal(RecordFormat format, QByteArrayView username)
{
    if (format == RecordFormat::Chpasswd && username.isEmpty())
        return QStringLiteral("a chpasswd record needs a username");
    if (format == RecordFormat::Chpasswd && username.contains(':'))
        return QStringLiteral("a username holding ':' cannot go into a chpasswd record");
    if (format == RecordFormat::Json && !isUtf8(username))
        return QStringLiteral("a username that is not valid UTF-8 cannot go into a JSON record");
    return {};
}

bool RecordWriter::add(QByteArrayView password, QByteArrayView username)
{
    if (failed_)
        return false;
    switch (format_) {
    case RecordFormat::Lines:
        appendExportRecord(buffer_, password, username, SaveLayout::OnePerLine, true);
        break;
    case RecordFormat::Csv:
        // Whether a record is the last is known only when the next one comes, so the comma goes out with it.
        if (anyRecord_)
            buffer_.append(',');
        appendExportRecord(buffer_, password, username, SaveLayout::Csv, true);
        break;
    case RecordFormat::Table:
        if (!username.isEmpty()) {
            appendTableField(username);
            buffer_.append(',');
        }
        appendTableField(password);
        buffer_.append("\r\n");
        break;
    case RecordFormat::Chpasswd:
        buffer_.append(username).append(':').append(password).append('\n');
        break;
    case RecordFormat::Json:
        buffer_.append('{');
        if (!username.isEmpty()) {
            buffer_.append("\"username\":");
            appendJsonString(username);
            buffer_.append(',');
        }
        buffer_.append("\"password\":");
        appendJsonString(password);
        buffer_.append("}\n");
        break;
    }
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

void RecordWriter::appendTableField(QByteArrayView field)
{
    const bool quoted =
        std::any_of(field.begin(), field.end(), [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; });
    if (!quoted) {
        buffer_.append(field);
        return;
    }
    buffer_.append('"');
    for (const char c : field) {
        if (c == '"')
            buffer_.append('"');
        buffer_.append(c);
    }
    buffer_.append('"');
}

void RecordWriter::appendJsonString(QByteArrayView text)
{
    static constexpr char Hex[] = "0123456789abcdef";
    buffer_.append('"');
    for (const char c : text) {
        const auto byte = static_cast<quint8>(c);
        if (c == '"' || c == '\\') {
            buffer_.append('\\').append(c);
        } else if (c == '\n') {
            buffer_.append("\\n");
        } else if (c == '\r') {
            buffer_.append("\\r");
        } else if (c == '\t') {
            buffer_.append("\\t");
        } else if (byte < 0x20) {
            buffer_.append("\\u00").append(Hex[byte >> 4]).append(Hex[byte & 15]);
        } else {
            buffer_.append(c);
        }
    }
    buffer_.append('"');
}
