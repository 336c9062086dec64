// The Help menu's commands: each hands one fixed target to the desktop shell and does nothing else.
#include "app/CVarnelDlg.h"

#include "app/Desktop.h"
#include "os/OwnRegularFile.h"
#include "prefs/HelpCommandTable.h"
#include "resources/Strings.h"

#include <QDir>
#include <QFileInfo>

namespace {
void openHelp(Desktop& desktop, HelpTopic topic)
{
    const HelpCommand command = helpCommand(topic);
    desktop.shellOpen(command.verb, command.target, command.showMode);
}
} // namespace

void CVarnelDlg::OnHelpManual()
{
    openHelp(desktop_, HelpTopic::Manual);
}

void CVarnelDlg::OnHelpTutorials()
{
    openHelp(desktop_, HelpTopic::Tutorials);
}

// A read-me in the working directory, where vrn.ini lives too, comes first, handed over by its relative
// name; the installed one serves when there is none, so that a new user starting from the home folder
// still gets one. The working directory may be shared: as with vrn.ini, only the user's own regular file
// there counts, never one another user planted for the desktop's opener to run.
void CVarnelDlg::OnHelpReadme()
{
    const HelpCommand command = helpCommand(HelpTopic::Readme);
    if (isOwnRegularFile(command.target)) {
        desktop_.shellOpen(command.verb, command.target, command.showMode);
        return;
    }
    const QString installed = installedReadme();
    if (QFileInfo(installed).isFile()) {
        desktop_.shellOpen(command.verb, installed, command.showMode);
        return;
    }
    const QString lookedFor = QDir::current().absoluteFilePath(command.target) + u'\n' + installed;
    desktop_.showMessage(this, QString::fromLatin1(ReadmeMissingText) + u'\n' + lookedFor,
                         QString::fromLatin1(ApplicationName));
}

void CVarnelDlg::OnHelpSupportOptions()
{
    openHelp(desktop_, HelpTopic::SupportOptions);
}

void CVarnelDlg::OnHelpEmailSupport()
{
    openHelp(desktop_, HelpTopic::EmailSupport);
}

void CVarnelDlg::OnHelpBugReport()
{
    openHelp(desktop_, HelpTopic::BugReport);
}

void CVarnelDlg::OnHelpSalesSupport()
{
    openHelp(desktop_, HelpTopic::SalesSupport);
}

void CVarnelDlg::OnHelpMoreInfo()
{
    openHelp(desktop_, HelpTopic::MoreInfo);
}

void CVarnelDlg::OnHelpUninstall()
{
    desktop_.showMessage(this, QString::fromLatin1(UninstallNoticeText), QString::fromLatin1(UninstallNoticeCaption));
}
