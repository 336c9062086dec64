// The Generate command.
#include "app/CVarnelDlg.h"

#include "app/Desktop.h"
#include "engine/Alphabets.h"
#include "resources/Strings.h"

void CVarnelDlg::OnGenerate()
{
    CommandScope scope(*this);
    ReadControls();
    if (options_.usernameStyle == UsernameStyle::FromFile) {
        ImportUsernames();
    } else if (options_.pairCount >= GeneratePairCeiling || options_.characterCount >= GenerateCharacterCeiling) {
        desktop_.showMessage(this, QString::fromLatin1(TooManyText), QString::fromLatin1(TooManyText));
    } else {
        {
            ControlBatch batch(*this);
            const PasswordStyle style = options_.passwordStyle.value_or(PasswordStyle::Numeric);
            const LetterCase letterCase = options_.letterCase.value_or(LetterCase::Upper);
            for (qint32 k = 1; k <= options_.pairCount; ++k) {
                options_.currentPassword.clear();
                options_.currentUsername.clear();
                const QByteArrayView alphabet = SelectAlphabet(letterCase, style);
                options_.currentPassword = ComposeRandomText(options_.characterCount, style, alphabet, random_);
                if (options_.usernameStyle == UsernameStyle::Random)
                    options_.currentUsername = ComposeRandomText(options_.characterCount, style, alphabet, random_);
                else if (options_.usernameStyle == UsernameStyle::Numbered)
                    options_.currentUsername = QByteArray::number(k);
                WriteControls();
                InsertCurrentPair();
            }
        }
        WriteControls();
    }
    FitColumns();
}
