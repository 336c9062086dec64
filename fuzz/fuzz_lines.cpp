#include "os/LineReader.h"
#include "prefs/PreferencesFile.h"

#include <QBuffer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

void check(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

QByteArrayList readThroughDevice(const QByteArray& input, qsizetype chunkSize)
{
    QBuffer buffer;
    buffer.setData(input);
    check(buffer.open(QIODevice::ReadOnly), "the buffer opens");
    LineReader reader(buffer, chunkSize);
    QByteArrayList lines;
    QByteArray line;
    while (reader.readLine(line))
        lines.append(line);
    check(!reader.hasError(), "a buffer reads without error");
    return lines;
}

// Walks the input along the lines: each must be followed by "\n" or "\r\n", except a last line at the
// very end, and a line ending in "\r" cannot be followed by a bare "\n" (that "\r" was part of the end).
void checkLinesRebuildInput(const QByteArray& input, const QByteArrayList& lines)
{
    qsizetype at = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        check(!line.contains('\n'), "no line holds a line feed");
        check(input.sliced(at).startsWith(line), "the line is the next bytes of the input");
        at += line.size();
        if (at == input.size()) {
            check(i + 1 == lines.size(), "only the last line ends without a line feed");
            check(!line.isEmpty(), "the end of the data makes no empty line");
        } else if (input[at] == '\n') {
            check(!line.endsWith('\r'), "a carriage return before a line feed is not kept");
            at += 1;
        } else {
            check(input.sliced(at).startsWith("\r\n"), "a line ends at a line feed or CRLF");
            at += 2;
        }
    }
    check(at == input.size(), "the lines cover the whole input");
    const qsizetype expected = input.count('\n') + (!input.isEmpty() && !input.endsWith('\n') ? 1 : 0);
    check(lines.size() == expected, "one line per line feed, plus an unterminated last line");
}

bool isTrailingSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void checkPreferencesLine(const QByteArray& line)
{
    // A real result never holds "=", so this tells whether the line set the preference.
    const QByteArray untouched = "=untouched="_ba;
    QByteArray preference = untouched;
    applyPreferencesLine(line, preference);

    QByteArray trimmed = line;
    while (!trimmed.isEmpty() && isTrailingSpace(trimmed.back()))
        trimmed.chop(1);
    const bool isTooltipsLine = trimmed.startsWith("TOOLTIPS") && (trimmed.size() == 8 || trimmed[8] == '=');
    check((preference != untouched) == isTooltipsLine, "exactly the TOOLTIPS lines set the preference");
    if (!isTooltipsLine)
        return;
    check(!preference.contains('='), "the preference holds no =");
    check(preference.size() <= std::max<qsizetype>(0, trimmed.size() - 9), "the preference comes from after the key");
    // Only a dropped "=" at the very end can leave white space at the end of the value.
    if (!preference.isEmpty() && isTrailingSpace(preference.back()))
        check(trimmed.endsWith('='), "the preference has no trailing white space unless an = followed it");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    const QByteArrayList lines = LineReader::splitLines(input);
    checkLinesRebuildInput(input, lines);
    check(readThroughDevice(input, LineReader::DefaultChunkSize) == lines, "the reader agrees with splitLines");
    const qsizetype smallChunk = 1 + static_cast<qsizetype>(size % 7);
    check(readThroughDevice(input, smallChunk) == lines, "chunk borders do not change the lines");

    QByteArray folded = "start"_ba;
    for (const QByteArray& line : lines) {
        checkPreferencesLine(line);
        applyPreferencesLine(line, folded);
    }
    QBuffer file;
    file.setData(input);
    file.open(QIODevice::ReadOnly);
    check(readTooltipsPreference(file, "start"_ba) == folded, "the file gives what its lines give one by one");
    return 0;
}
