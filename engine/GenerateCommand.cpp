// The Generate command.
#include "app/CVarnelDlg.h"

#include "app/Desktop.h"
#include "engine/PairMaker.h"
#include "resources/Strings.h"

#include <vector>

void CVarnelDlg::OnGenerate()
{
    CommandScope scope(*this);
    ReadControls();
    if (options_.usernameStyle == UsernameStyle::FromFile) {
        ImportUsernames();
    } else if (options_.pairCount >= GeneratePairCeiling || options_.characterCount >= GenerateCharacterCeiling) {
        desktop_.showMessage(this, QString::fromLatin1(TooManyText), QString::fromLatin1(TooManyText));
    } else {
        PairMaker maker(recipeFrom(options_), options_.usernameStyle.value_or(UsernameStyle::None),
                        quint64(std::max(options_.pairCount, 0)), random_);
        // The whole batch is made before any of it is shown, so that a batch that fails is not half in the list.
        std::vector<CredentialPair> batch;
        for (CredentialPair pair; maker.next(pair);)
            batch.push_back(std::move(pair));
        if (maker.outcome() == PairMaker::Outcome::RandomFailed) {
            reportNoSecureRandom(maker.errorString());
        } else {
            ControlBatch controls(*this);
            for (CredentialPair& pair : batch) {
                options_.currentPassword = std::move(pair.password);
                options_.currentUsername = std::move(pair.username);
                WriteControls();
                InsertCurrentPair();
            }
        }
        WriteControls();
    }
    FitColumns();
}

void CVarnelDlg::reportNoSecureRandom(const QString& reason)
{
    desktop_.showMessage(
        this, QStringLiteral("Secure random numbers are not available, so no password was made.\n\n%1").arg(reason),
        QString::fromLatin1(ApplicationName));
}
