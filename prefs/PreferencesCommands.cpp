// The preferences file and the ToolTips check box.
#include "app/CVarnelDlg.h"

#include "app/Desktop.h"
#include "prefs/PreferencesFile.h"
#include "resources/Strings.h"

#include <QDir>

void CVarnelDlg::LoadPreferences()
{
    options_.tooltipsPreference = loadTooltipsPreference(QString(PreferencesFileName), options_.tooltipsPreference);
}

void CVarnelDlg::ApplyTooltipsPreference()
{
    const bool on = tooltipsOnFor(options_.tooltipsPreference);
    SetTooltipsActive(on);
    options_.tooltipsEnabled = on;
    if (on)
        WriteControls();
}

void CVarnelDlg::OnToolTipsCheck()
{
    CommandScope scope(*this);
    ReadControls();
    options_.tooltipsPreference = options_.tooltipsEnabled ? QByteArrayLiteral("yes") : QByteArrayLiteral("no");
    SetTooltipsActive(options_.tooltipsEnabled);
    WriteControls();
}

void CVarnelDlg::SavePreferences()
{
    const QString path(PreferencesFileName);
    QString reason;
    if (!savePreferencesFile(path, options_.tooltipsPreference, &reason))
        reportFileError(QString::fromLatin1(SaveErrorText), QString::fromLatin1(SaveErrorCaption),
                        QDir::current().absoluteFilePath(path), reason);
}
