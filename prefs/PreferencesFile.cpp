#include "prefs/PreferencesFile.h"

#include "os/LineReader.h"
#include "os/OwnRegularFile.h"
#include "os/SafeFileWriter.h"

#include <QFile>

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
    const FileDescriptor descriptor = openOwnRegularFile(path);
    QFile file;
    if (!descriptor || !file.open(descriptor.get(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
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
