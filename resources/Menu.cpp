#include "resources/Menu.h"

#include <array>

namespace {
constexpr std::array MainMenu{
    MenuItemLayout{"&File", nullptr, "&Save", CmdSave},
    MenuItemLayout{"&File", nullptr, "&Quit", CmdQuit},
    MenuItemLayout{"&Options", nullptr, "&Generate", CmdGenerate},
    MenuItemLayout{"&Options", nullptr, "&Update", CmdUpdate},
    MenuItemLayout{"&Options", nullptr, "&Delete", CmdDelete},
    MenuItemLayout{"&Options", nullptr, "&Clear", CmdClear},
    MenuItemLayout{"&Options", nullptr, "&Big", CmdBig},
    MenuItemLayout{"&Help", nullptr, "&About", CmdAbout},
    MenuItemLayout{"&Help", "&Manual", "Manual", CmdManual},
    MenuItemLayout{"&Help", "&Manual", "Tutorials", CmdTutorials},
    MenuItemLayout{"&Help", "&Manual", "Readme", CmdReadme},
    MenuItemLayout{"&Help", "&Support", "&Support Options", CmdSupportOptions},
    MenuItemLayout{"&Help", "&Support", "&Email Support", CmdEmailSupport},
    MenuItemLayout{"&Help", "&Support", "&Bug Report", CmdBugReport},
    MenuItemLayout{"&Help", "&Support", "S&ales Support", CmdSalesSupport},
    MenuItemLayout{"&Help", nullptr, "More &Info", CmdMoreInfo},
    MenuItemLayout{"&Help", nullptr, "&Uninstall", CmdUninstall},
};
} // namespace

std::span<const MenuItemLayout> mainMenuLayout()
{
    return MainMenu;
}
