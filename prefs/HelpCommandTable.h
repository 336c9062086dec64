#pragma once

#include <QString>

// The Help menu's targets, each handed to the desktop shell as it stands.
enum class HelpTopic { Manual, Tutorials, Readme, SupportOptions, EmailSupport, BugReport, SalesSupport, MoreInfo };

// Show modes, passed to the shell unchanged.
enum ShowMode : int {
    ShowHide = 0,
    ShowNormal = 1,
    ShowShow = 5,
};

struct HelpCommand
{
    QString verb; // empty: the shell's default verb for the target
    QString target;
    int showMode = ShowHide;
};

HelpCommand helpCommand(HelpTopic topic);

// The read-me that the install puts in the package's documentation folder, found from the program's own
// folder so that it holds wherever the install's prefix lies. Tests put a file of their own in its place;
// an empty path returns to the installed one.
QString installedReadme();
void setInstalledReadme(const QString& path);

// The maker's web site (scheme and host, no closing slash) and addresses, as the build was configured.
struct MakerContacts
{
    QString webSite;
    QString supportAddress;
    QString bugReportAddress;
    QString salesAddress;
};

const MakerContacts& makerContacts();

inline constexpr char ReadmeMissingText[] = "No read-me was found. These files were looked for:";

inline constexpr char UninstallNoticeCaption[] = "How to Uninstall:";
inline constexpr char UninstallNoticeText[] =
    "To uninstall the program:\n"
    "If Varnel came from a package, remove that package with your package manager; if it was installed "
    "from a build with \"cmake --install\", run \"cmake --build <build directory> --target uninstall\".\n";
