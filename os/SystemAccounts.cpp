#include "os/SystemAccounts.h"

#include "os/LineReader.h"

#include <QFile>

#include <optional>

namespace {

std::optional<quint64> numberOf(const QByteArray& text, int base)
{
    bool ok = false;
    const quint64 value = text.toULongLong(&ok, base);
    return ok ? std::optional(value) : std::nullopt;
}

template<typename EachLine>
void readLines(const QString& path, EachLine eachLine)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    LineReader reader(file);
    for (QByteArray line; reader.readLine(line);)
        eachLine(line);
}

} // namespace

QSet<QByteArray> systemAccountNames(const QString& passwdFile, const QString& loginDefsFile)
{
    quint64 first = 1000;
    quint64 last = 60000;
    readLines(loginDefsFile, [&first, &last](const QByteArray& line) {
        const QByteArrayList words = line.simplified().split(' ');
        if (words.size() < 2)
            return;
        // login.defs also takes octal and hexadecimal numbers.
        const std::optional<quint64> value = numberOf(words[1], 0);
        if (words[0] == "UID_MIN" && value)
            first = *value;
        else if (words[0] == "UID_MAX" && value)
            last = *value;
    });
    QSet<QByteArray> names{QByteArrayLiteral("root")};
    readLines(passwdFile, [&names, first, last](const QByteArray& line) {
        const QByteArrayList fields = line.split(':');
        if (fields.size() < 3 || fields[0].isEmpty() || fields[0].startsWith('#'))
            return;
        const std::optional<quint64> uid = numberOf(fields[2], 10);
        if (uid && (*uid < first || *uid > last))
            names.insert(fields[0]);
    });
    return names;
}
