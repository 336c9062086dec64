// The Help menu's commands: each hands one fixed target to the desktop shell and does nothing else.
#include "app/CVarnelDlg.h"

#include "app/Desktop.h"
#include "prefs/HelpCommandTable.h"

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

// A relative name: the shell resolves it against the working directory, where vrn.ini lives too.
void CVarnelDlg::OnHelpReadme()
{
    openHelp(desktop_, HelpTopic::Readme);
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
