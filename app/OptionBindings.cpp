// The transfers between the option record and the main window's controls, and the choice handlers.
#include "app/CVarnelDlg.h"

#include "app/Desktop.h"
#include "app/RadioChoices.h"
#include "resources/Layouts.h"
#include "resources/Strings.h"

#include <QAbstractButton>
#include <QLineEdit>

#include <limits>
#include <optional>

namespace {
void choose(GeneratorOptions& options, const RadioChoice& choice)
{
    switch (choice.group) {
    case ChoiceGroup::PasswordStyle:
        options.passwordStyle = static_cast<PasswordStyle>(choice.value);
        break;
    case ChoiceGroup::LetterCase:
        options.letterCase = static_cast<LetterCase>(choice.value);
        break;
    case ChoiceGroup::UsernameStyle:
        options.usernameStyle = static_cast<UsernameStyle>(choice.value);
        break;
    case ChoiceGroup::SaveLayout:
        options.saveLayout = static_cast<SaveLayout>(choice.value);
        break;
    }
}

bool isChosen(const GeneratorOptions& options, const RadioChoice& choice)
{
    const auto holds = [&choice](const auto& field) {
        return field && static_cast<int>(*field) == choice.value;
    };
    switch (choice.group) {
    case ChoiceGroup::PasswordStyle:
        return holds(options.passwordStyle);
    case ChoiceGroup::LetterCase:
        return holds(options.letterCase);
    case ChoiceGroup::UsernameStyle:
        return holds(options.usernameStyle);
    case ChoiceGroup::SaveLayout:
        return holds(options.saveLayout);
    }
    return false;
}

void readChoices(const CVarnelDlg& window, bool afterNumbers, GeneratorOptions& options)
{
    for (const RadioChoice& choice : RadioChoices) {
        const auto* button = qobject_cast<const QAbstractButton*>(window.control(choice.id));
        if (choice.afterNumbers == afterNumbers && button && button->isChecked())
            choose(options, choice);
    }
}

void setEditText(QLineEdit* edit, const QString& text)
{
    if (edit && edit->text() != text)
        edit->setText(text);
}

// The digits of a number edit as a number. One too long for the field is held at the largest value
// the field can hold, so that it is reported, and refused, as out of range like any other.
std::optional<qint32> parseNumberField(const QString& typed)
{
    if (typed.isEmpty())
        return std::nullopt;
    qint64 value = 0;
    for (const QChar c : typed) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
        if (value > std::numeric_limits<qint32>::max())
            value = std::numeric_limits<qint32>::max();
    }
    return static_cast<qint32>(value);
}
} // namespace

bool CVarnelDlg::ReadControls()
{
    // Inside a batch the controls show nothing but what the record last gave them.
    if (batchDepth_ > 0 && deferredWrite_)
        return lastReadOk_;

    lastReadOk_ = false;
    readChoices(*this, false, options_);
    if (!readNumber(IdCharacterCount, "Number of Characters:", MinCharacterCount, MaxCharacterCount,
                    options_.characterCount))
        return false;
    if (!readNumber(IdPairCount, "Number to Generate:", MinPairCount, MaxPairCount, options_.pairCount))
        return false;
    options_.currentPassword = readText(IdPassword);
    options_.currentUsername = readText(IdUsername);
    readChoices(*this, true, options_);
    if (const auto* box = qobject_cast<const QAbstractButton*>(control(IdToolTips)))
        options_.tooltipsEnabled = box->isChecked();
    lastReadOk_ = true;
    return true;
}

void CVarnelDlg::WriteControls()
{
    if (batchDepth_ > 0) {
        deferredWrite_ = true;
        return;
    }
    setEditText(qobject_cast<QLineEdit*>(control(IdCharacterCount)), QString::number(options_.characterCount));
    setEditText(qobject_cast<QLineEdit*>(control(IdPairCount)), QString::number(options_.pairCount));
    writeText(IdPassword, options_.currentPassword);
    writeText(IdUsername, options_.currentUsername);
    for (const RadioChoice& choice : RadioChoices) {
        if (auto* button = qobject_cast<QAbstractButton*>(control(choice.id)))
            button->setChecked(isChosen(options_, choice));
    }
    if (auto* box = qobject_cast<QAbstractButton*>(control(IdToolTips)))
        box->setChecked(options_.tooltipsEnabled);
}

void CVarnelDlg::ApplyDefaults()
{
    options_.applyDefaultChoices();
    WriteControls();
}

bool CVarnelDlg::readNumber(int id, const char* label, qint32 minimum, qint32 maximum, qint32& field)
{
    auto* edit = qobject_cast<QLineEdit*>(control(id));
    if (!edit)
        return true;
    const QString typed = edit->text();
    const std::optional<qint32> value = parseNumberField(typed);
    if (value)
        field = *value;
    if (value && *value >= minimum && *value <= maximum)
        return true;

    const QString what =
        typed.isEmpty() ? QStringLiteral("nothing was typed") : QStringLiteral("\"%1\" was typed").arg(typed);
    showValidationPrompt(edit,
                         QStringLiteral("\"%1\" takes a whole number from %2 to %3; %4.")
                             .arg(QString::fromLatin1(label))
                             .arg(minimum)
                             .arg(maximum)
                             .arg(what));
    return false;
}

void CVarnelDlg::showValidationPrompt(QLineEdit* edit, const QString& text)
{
    if (!promptShownInCommand_) {
        promptShownInCommand_ = true;
        desktop_.showMessage(this, text, QString::fromLatin1(ApplicationName), Desktop::Icon::Warning);
    }
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

QByteArray CVarnelDlg::readText(int id) const
{
    const auto* edit = qobject_cast<const QLineEdit*>(control(id));
    if (!edit)
        return {};
    const auto shown = shownTexts_.constFind(id);
    if (shown != shownTexts_.cend() && shown->first == edit->text())
        return shown->second;
    return edit->text().toUtf8();
}

void CVarnelDlg::writeText(int id, const QByteArray& bytes)
{
    auto* edit = qobject_cast<QLineEdit*>(control(id));
    if (!edit)
        return;
    const QString text = QString::fromUtf8(bytes);
    shownTexts_.insert(id, {text, bytes});
    setEditText(edit, text);
}

void CVarnelDlg::SelectPasswordStyle(PasswordStyle value)
{
    CommandScope scope(*this);
    ReadControls();
    options_.passwordStyle = value;
    WriteControls();
}

void CVarnelDlg::SelectLetterCase(LetterCase value)
{
    CommandScope scope(*this);
    ReadControls();
    options_.letterCase = value;
    WriteControls();
}

void CVarnelDlg::SelectUsernameStyle(UsernameStyle value)
{
    CommandScope scope(*this);
    ReadControls();
    options_.usernameStyle = value;
    WriteControls();
}

// The save layout is chosen without reading the controls first: whatever was typed since the last
// command goes back to the record's values on screen.
void CVarnelDlg::SelectSaveLayout(SaveLayout value)
{
    options_.saveLayout = value;
    WriteControls();
}
