#pragma once

#include <span>

enum CommandId : int {
    CmdSave = 32771,
    CmdQuit = 32772,
    CmdGenerate = 32774,
    CmdUpdate = 32775,
    CmdClear = 32776,
    CmdDelete = 32777,
    CmdBig = 32778,
    CmdAbout = 32779,
    CmdMoreInfo = 32782,
    CmdUninstall = 32784,
    CmdManual = 32785,
    CmdTutorials = 32786,
    CmdReadme = 32787,
    CmdSupportOptions = 32788,
    CmdEmailSupport = 32789,
    CmdBugReport = 32790,
    CmdSalesSupport = 32792,
};

// The command id of the About item in the window menu.
inline constexpr unsigned AboutCommandId = 0x10;
inline constexpr unsigned WindowMenuCloseId = 2;

// One row a menu item: the top-level menu, the submenu (or none) and the item, in menu order.
struct MenuItemLayout
{
    const char* menu;
    const char* submenu;
    const char* caption;
    int id;
};

std::span<const MenuItemLayout> mainMenuLayout(); // menu 130
