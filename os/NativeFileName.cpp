#include "os/NativeFileName.h"

#include <QFile>

#include <algorithm>

namespace {

constexpr char16_t EscapeBase = 0xDC00;

bool isEscapedByte(char16_t unit)
{
    return unit >= EscapeBase + 0x80 && unit <= EscapeBase + 0xFF;
}

// The length of the valid UTF-8 sequence at bytes[0], or 0 if none starts there.
int validSequenceLength(const unsigned char* bytes, qsizetype left)
{
    const unsigned char lead = bytes[0];
    int length = 0;
    char32_t point = 0;
    char32_t minimum = 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2, point = lead & 0x1F, minimum = 0x80;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, point = lead & 0x0F, minimum = 0x800;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, point = lead & 0x07, minimum = 0x10000;
    else
        return 0;
    if (left < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((bytes[i] & 0xC0) != 0x80)
            return 0;
        point = (point << 6) | (bytes[i] & 0x3F);
    }
    if (point < minimum || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

QString fileNameFromArgument(const char* argument)
{
    const QByteArrayView bytes(argument);
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    QString name;
    qsizetype next = 0;
    while (next < bytes.size()) {
        qsizetype validEnd = next;
        while (validEnd < bytes.size()) {
            const int length = validSequenceLength(data + validEnd, bytes.size() - validEnd);
            if (length == 0)
                break;
            validEnd += length;
        }
        name += QString::fromUtf8(bytes.sliced(next, validEnd - next));
        if (validEnd < bytes.size())
            name += QChar(char16_t(EscapeBase + data[validEnd++]));
        next = validEnd;
    }
    return name;
}

QByteArray nativeFileName(const QString& name)
{
    if (std::none_of(name.cbegin(), name.cend(), [](QChar c) { return isEscapedByte(c.unicode()); }))
        return QFile::encodeName(name);
    QByteArray bytes;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= name.size(); ++i) {
        if (i < name.size() && !isEscapedByte(name.at(i).unicode()))
            continue;
        bytes += name.mid(start, i - start).toUtf8();
        if (i < name.size())
            bytes += char(name.at(i).unicode() - EscapeBase);
        start = i + 1;
    }
    return bytes;
}
