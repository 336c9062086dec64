// Generate with usernames read from a file: one fresh password for every name.
#include "app/CVarnelDlg.h"

#include "app/Desktop.h"
#include "engine/PairMaker.h"
#include "os/LineReader.h"
#include "resources/Strings.h"

#include <QFile>
#include <QFileInfo>

#include <deque>

void CVarnelDlg::ImportUsernames()
{
    CommandScope scope(*this);
    ReadControls();
    // However the import ends, the controls show the record once more, as every command leaves them.
    const auto importChosenFile = [this] {
        // The number field takes up to 50; anything beyond that was typed past its range and is refused
        // here as Generate refuses its own, rather than making passwords of any length.
        if (options_.characterCount > MaxCharacterCount) {
            desktop_.showMessage(this, QString::fromLatin1(TooManyText), QString::fromLatin1(TooManyText));
            return;
        }
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
        PairMaker maker(recipeFrom(options_), reader, random_);
        // Every pair is made before any is shown, so that an import that fails for want of random numbers
        // leaves nothing of itself in the list.
        std::deque<CredentialPair> pairs;
        for (CredentialPair pair; maker.next(pair);)
            pairs.push_back(std::move(pair));
        if (maker.outcome() == PairMaker::Outcome::RandomFailed) {
            reportNoSecureRandom(maker.errorString());
            return;
        }
        {
            ControlBatch batch(*this);
            // Taken off the front as they go into the list, so that the pairs are never held twice.
            for (; !pairs.empty(); pairs.pop_front()) {
                options_.currentUsername = std::move(pairs.front().username);
                options_.currentPassword = std::move(pairs.front().password);
                WriteControls();
                InsertCurrentPair();
            }
            // Each line read leaves the edit fields empty behind it, a line without a name too.
            if (maker.begun() > 0) {
                options_.currentPassword.clear();
                options_.currentUsername.clear();
            }
        }
        if (maker.outcome() == PairMaker::Outcome::ReadFailed) {
            reportFileError(
                QStringLiteral("Reading the usernames stopped part of the way; the pairs made so far are kept."),
                caption, *path, maker.errorString());
        }
    };
    importChosenFile();
    WriteControls();
}
