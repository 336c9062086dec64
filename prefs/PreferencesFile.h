#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFileDevice>
#include <QString>

class QIODevice;

// The preferences file, kept in the working directory. It holds one setting, the tooltips choice, as
// the bytes after "TOOLTIPS=": "yes" or nothing turns tooltips on, anything else turns them off.
inline constexpr QLatin1StringView PreferencesFileName{"vrn.ini"};
inline constexpr QFileDevice::Permissions PreferencesFilePermissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// Applies one line: trailing white space goes, the bytes before the first "=" are the key, the bytes
// after it with every "=" dropped are the value. Only the key "TOOLTIPS" sets the preference.
void applyPreferencesLine(QByteArrayView line, QByteArray& preference);

// The preference after every line of the device, the last TOOLTIPS line winning; current when no line
// sets it. A read error ends the reading, and the lines before it stand.
QByteArray readTooltipsPreference(QIODevice& device, const QByteArray& current);
// As above for a file; a missing or unreadable file, one that is no regular file, one that another user
// owns or a link that another user planted (in a shared folder) leaves the preference as it was.
QByteArray loadTooltipsPreference(const QString& path, const QByteArray& current);

QByteArray preferencesFileContent(const QByteArray& tooltipsPreference);
bool savePreferencesFile(const QString& path, const QByteArray& tooltipsPreference, QString* errorString = nullptr);

bool tooltipsOnFor(const QByteArray& preference);
