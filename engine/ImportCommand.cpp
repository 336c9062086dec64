// Generate with usernames read from a file: one fresh password for every name.
#include "app/CVarnelDlg.h"

#include "app/Desktop.h"
#include "engine/Alphabets.h"
#include "prefs/LineReader.h"
#include "resources/Strings.h"

#include <QFile>
#include <QFileInfo>

void CVarnelDlg::ImportUsernames()
{
    CommandScope scope(*this);
    ReadControls();
    // The number field takes up to 50; anything beyond that was typed past its range and is refused
    // here as Generate refuses its own, rather than making passwords of any length.
    if (options_.characterCount > MaxCharacterCount) {
        desktop_.showMessage(this, QString::fromLatin1(TooManyText), QString::fromLatin1(TooManyText));
        return;
    }
    const PasswordStyle style = options_.passwordStyle.value_or(PasswordStyle::Numeric);
    const QByteArrayView alphabet = SelectAlphabet(options_.letterCase.value_or(LetterCase::Upper), style);

    const std::optional<QString> path = chooseFileKeepingDirectory(false);
    if (!path)
        return;

    const QString caption = QString::fromLatin1(ApplicationName);
    const QString cannotRead = QStringLiteral("The usernames could not be read.");
    QFile file(*path);
    const QFileInfo info(*path);
    if (info.isDir()) {
        reportFileError(cannotRead, caption, *path, QStringLiteral("It is a folder, not a file."));
        return;
    }
    // Opening a pipe waits for a writer that may never come, and a device such as /dev/zero never ends.
    if (info.exists() && !info.isFile()) {
        reportFileError(cannotRead, caption, *path, QStringLiteral("It is a device or a pipe, not a file."));
        return;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        reportFileError(cannotRead, caption, *path, file.errorString());
        return;
    }

    LineReader reader(file);
    {
        ControlBatch batch(*this);
        QByteArray line;
        while (reader.readLine(line)) {
            options_.currentUsername = line;
            options_.currentPassword = ComposeRandomText(options_.characterCount, style, alphabet, random_);
            WriteControls();
            if (!options_.currentUsername.isEmpty() && !options_.currentPassword.isEmpty())
                InsertCurrentPair();
            options_.currentPassword.clear();
            options_.currentUsername.clear();
            WriteControls();
        }
    }
    if (reader.hasError()) {
        reportFileError(
            QStringLiteral("Reading the usernames stopped part of the way; the pairs made so far are kept."), caption,
            *path, reader.errorString());
    }
    WriteControls();
}
