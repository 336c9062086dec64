// The routing table: every button, menu item and radio button reaches its member by its id.
#include "app/CVarnelDlg.h"

#include "app/RadioChoices.h"
#include "resources/Layouts.h"
#include "resources/Menu.h"

namespace {
struct CommandRoute
{
    int id;
    void (CVarnelDlg::*handler)();
};

// A button and its menu twin run the same member.
constexpr CommandRoute CommandRoutes[] = {
    {IdOk, &CVarnelDlg::OnOk},
    {IdCancel, &CVarnelDlg::OnCancel},
    {IdGenerate, &CVarnelDlg::OnGenerate},
    {CmdGenerate, &CVarnelDlg::OnGenerate},
    {IdSave, &CVarnelDlg::SaveList},
    {CmdSave, &CVarnelDlg::SaveList},
    {IdUpdate, &CVarnelDlg::UpdateSelectedRow},
    {CmdUpdate, &CVarnelDlg::UpdateSelectedRow},
    {IdDelete, &CVarnelDlg::DeleteSelectedRow},
    {CmdDelete, &CVarnelDlg::DeleteSelectedRow},
    {IdClear, &CVarnelDlg::ClearList},
    {CmdClear, &CVarnelDlg::ClearList},
    {IdBig, &CVarnelDlg::ShowLargePrint},
    {CmdBig, &CVarnelDlg::ShowLargePrint},
    {IdToolTips, &CVarnelDlg::OnToolTipsCheck},
    {CmdAbout, &CVarnelDlg::OnHelpAbout},
    {CmdQuit, &CVarnelDlg::OnQuit},
    {CmdManual, &CVarnelDlg::OnHelpManual},
    {CmdTutorials, &CVarnelDlg::OnHelpTutorials},
    {CmdReadme, &CVarnelDlg::OnHelpReadme},
    {CmdSupportOptions, &CVarnelDlg::OnHelpSupportOptions},
    {CmdEmailSupport, &CVarnelDlg::OnHelpEmailSupport},
    {CmdBugReport, &CVarnelDlg::OnHelpBugReport},
    {CmdSalesSupport, &CVarnelDlg::OnHelpSalesSupport},
    {CmdMoreInfo, &CVarnelDlg::OnHelpMoreInfo},
    {CmdUninstall, &CVarnelDlg::OnHelpUninstall},
};

void selectChoice(CVarnelDlg& window, const RadioChoice& choice)
{
    switch (choice.group) {
    case ChoiceGroup::PasswordStyle:
        window.SelectPasswordStyle(static_cast<PasswordStyle>(choice.value));
        break;
    case ChoiceGroup::LetterCase:
        window.SelectLetterCase(static_cast<LetterCase>(choice.value));
        break;
    case ChoiceGroup::UsernameStyle:
        window.SelectUsernameStyle(static_cast<UsernameStyle>(choice.value));
        break;
    case ChoiceGroup::SaveLayout:
        window.SelectSaveLayout(static_cast<SaveLayout>(choice.value));
        break;
    }
}
} // namespace

void CVarnelDlg::OnCommand(int id)
{
    for (const CommandRoute& route : CommandRoutes) {
        if (route.id == id) {
            (this->*route.handler)();
            return;
        }
    }
    for (const RadioChoice& choice : RadioChoices) {
        if (choice.id == id) {
            selectChoice(*this, choice);
            return;
        }
    }
}
