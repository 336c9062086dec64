#pragma once

#include "app/Desktop.h"

#include <QList>

#include <deque>
#include <functional>
#include <optional>

// A desktop whose answers the test gives beforehand, and which records what the window asked of it.
class FakeDesktop final : public Desktop
{
public:
    struct Message
    {
        QString text;
        QString caption;
        Icon icon;
    };
    struct ShellCall
    {
        QString verb;
        QString target;
        int showMode;
    };

    void showMessage(QWidget* owner, const QString& text, const QString& caption, Icon icon) override;
    bool askYesNo(QWidget* owner, const QString& text, const QString& caption) override;
    std::optional<QString> chooseFile(QWidget* owner, const FileChooserSetup& setup) override;
    int runModal(QDialog& dialog) override;
    void shellOpen(const QString& verb, const QString& target, int showMode) override;
    void exitProcess(int status) override;

    // Empty when exactly one message was shown, with this caption (any, when it is empty), its text starting
    // with `start` and holding each of `parts`; otherwise the messages shown, for the failure report.
    QString oneMessageMismatch(const QString& caption, const QString& start, const QStringList& parts = {}) const;

    QList<Message> messages;
    QList<Message> questions;
    std::deque<bool> yesNoAnswers;
    QList<FileChooserSetup> fileRequests;
    std::deque<std::optional<QString>> fileAnswers;
    // Called while a file chooser would be open, before it answers (for doing what a user may do
    // there, such as browsing to another folder).
    std::function<void(const FileChooserSetup&)> whileChoosing;
    // Called with each nested dialog while it would run; its result is the dialog's result.
    std::function<int(QDialog&)> onModal;
    QStringList modalDialogs;
    QList<ShellCall> shellCalls;
    QList<int> exits;
    // Called while a message box would be open (for looking at the window behind it).
    std::function<void(const Message&)> onMessage;
};
