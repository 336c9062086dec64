#include "prefs/PreferencesFile.h"

#include "os/LineReader.h"
#include "os/LinkRule.h"
#include "os/SafeFileWriter.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isTrailingSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

void applyPreferencesLine(QByteArrayView line, QByteArray& preference)
{
    qsizetype size = line.size();
    while (size > 0 && isTrailingSpace(line[size - 1]))
        --size;
    line = line.first(size);

    const qsizetype equals = line.indexOf('=');
    const QByteArrayView key = equals < 0 ? line : line.first(equals);
    if (key != QByteArrayView("TOOLTIPS"))
        return;

    QByteArray value;
    if (equals >= 0) {
        const QByteArrayView rest = line.sliced(equals + 1);
        value.reserve(rest.size());
        for (const char c : rest) {
            if (c != '=')
                value.append(c);
        }
    }
    preference = value;
}

QByteArray readTooltipsPreference(QIODevice& device, const QByteArray& current)
{
    QByteArray preference = current;
    LineReader reader(device);
    QByteArray line;
    // A read error ends the reading; the lines handled before it stand.
    while (reader.readLine(line))
        applyPreferencesLine(line, preference);
    return preference;
}

QByteArray loadTooltipsPreference(const QString& path, const QByteArray& current)
{
    // Only a plain file is read: a pipe in its place would block the start, and a device such as
    // /dev/zero would never end.
    const FileDescriptor descriptor = openUnderLinkRule(path, O_RDONLY | O_NONBLOCK | O_NOCTTY);
    if (!descriptor)
        return current;
    QFile file;
    struct stat status = {};
    if (::fstat(descriptor.get(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != ::geteuid()
        || !file.open(descriptor.get(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        return current;
    return readTooltipsPreference(file, current);
}

QByteArray preferencesFileContent(const QByteArray& tooltipsPreference)
{
    return QByteArrayLiteral("CREATOR=Varnel 1.0\nTOOLTIPS=") + tooltipsPreference + QByteArrayLiteral("\n\n");
}

bool savePreferencesFile(const QString& path, const QByteArray& tooltipsPreference, QString* errorString)
{
    SafeFileWriter writer(path, PreferencesFilePermissions);
    writer.write(preferencesFileContent(tooltipsPreference));
    const bool saved = writer.commit();
    if (!saved && errorString)
        *errorString = writer.errorString();
    return saved;
}

bool tooltipsOnFor(const QByteArray& preference)
{
    return preference.isEmpty() || preference == QByteArrayView("yes");
}
