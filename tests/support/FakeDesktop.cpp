#include "FakeDesktop.h"

#include <QDialog>

void FakeDesktop::showMessage(QWidget*, const QString& text, const QString& caption, Icon icon)
{
    messages.append({text, caption, icon});
    if (onMessage)
        onMessage(messages.constLast());
}

bool FakeDesktop::askYesNo(QWidget*, const QString& text, const QString& caption)
{
    questions.append({text, caption, Icon::None});
    if (yesNoAnswers.empty())
        return false;
    const bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
}

std::optional<QString> FakeDesktop::chooseFile(QWidget*, const FileChooserSetup& setup)
{
    fileRequests.append(setup);
    if (whileChoosing)
        whileChoosing(setup);
    if (fileAnswers.empty())
        return std::nullopt;
    const bool confirmed = fileAnswers.front().has_value();
    const QString path = fileAnswers.front().value_or(QString());
    fileAnswers.pop_front();
    if (!confirmed)
        return std::nullopt;
    return path;
}

int FakeDesktop::runModal(QDialog& dialog)
{
    modalDialogs.append(QString::fromLatin1(dialog.metaObject()->className()));
    if (onModal)
        return onModal(dialog);
    return QDialog::Rejected;
}

void FakeDesktop::shellOpen(const QString& verb, const QString& target, int showMode)
{
    shellCalls.append({verb, target, showMode});
}

void FakeDesktop::exitProcess(int status)
{
    exits.append(status);
}

QString FakeDesktop::oneMessageMismatch(const QString& caption, const QString& start, const QStringList& parts) const
{
    bool matches = messages.size() == 1;
    if (matches) {
        const Message& message = messages.constFirst();
        matches = (caption.isEmpty() || message.caption == caption) && message.text.startsWith(start);
        for (const QString& part : parts)
            matches = matches && message.text.contains(part);
    }
    if (matches)
        return {};
    QStringList shown;
    for (const Message& message : messages)
        shown.append(QStringLiteral("[%1] %2").arg(message.caption, message.text));
    return QStringLiteral("%1 messages: %2").arg(messages.size()).arg(shown.join(QStringLiteral(" / ")));
}
