#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFileDevice>
#include <QString>

class QIODevice;

// The preferences file, kept in the working directory. It holds one setting, the tooltips choice, as
// the bytes after "TOOLTIPS=": "yes" or nothing turns tooltips on, anything else turns them off.
inline constexpr QLatin1StringView PreferencesFileName{"vrn.ini"};
inline constexpr QFileDevice::Permissions PreferencesFilePermissions =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;

// Applies one line: trailing white space goes, the bytes before the first "=" are the key, the bytes
// after it with every "=" dropped are the value. Only the key "TOOLTIPS" sets the preference.
void applyPreferencesLine(QByteArrayView line, QByteArray& preference);

// The preference after every line of the device, the last TOOLTIPS line winning; current when no line
// sets it. A read error ends the reading, and the lines before it stand.
QByteArray readTooltipsPreference(QIODevice& device, const QByteArray& current);
// As above for a file; a missing or unreadable file, or one that is no regular file, leaves the
// preference as it was.
QByteArray loadTooltipsPreference(const QString& path, const QByteArray& current);

QByteArray preferencesFileContent(const QByteArray& tooltipsPreference);
bool savePreferencesFile(const QString& path, const QByteArray& tooltipsPreference, QString* errorString = nullptr);

bool tooltipsOnFor(const QByteArray& preference);
