#pragma once

#include <span>

// Window layouts as tables in dialog units: a horizontal unit is a quarter of the dialog font's average
// character width, a vertical unit an eighth of its height.

enum class ControlKind {
    DefaultPushButton,
    PushButton,
    ListView,
    StaticText,
    NumberEdit,
    TextEdit,
    RadioButton,
    GroupBox,
    CheckBox,
    Icon,
};

// Control ids of the main window, the About box and the large-print view.
enum ControlId : int {
    NoControlId = -1,
    IdOk = 1,
    IdCancel = 2,
    IdResultList = 1000,
    IdPairCount = 1001,
    IdAlphaNumeric = 1002,
    IdNumeric = 1003,
    IdAlphabetic = 1004,
    IdGenerate = 1005,
    IdSave = 1006,
    IdRandomUsername = 1008,
    IdLoadUsernames = 1009,
    IdNumberedUsernames = 1010,
    IdCsv = 1011,
    IdOnePerLine = 1012,
    IdAlphaNumSym = 1013,
    IdCharacterCount = 1016,
    IdNoUsername = 1018,
    IdPassword = 1019,
    IdUsername = 1020,
    IdUpperCase = 1022,
    IdLowerCase = 1023,
    IdMixedCase = 1024,
    IdClear = 1025,
    IdUpdate = 1027,
    IdDelete = 1028,
    IdBig = 1029,
    IdBigUsername = 1031,
    IdBigPassword = 1032,
    IdToolTips = 1034,
};

struct ControlLayout
{
    int id;
    ControlKind kind;
    const char* caption;
    int x;
    int y;
    int width;
    int height;
};

// The point size of a layout set in the desktop's default font at the size the desktop sets.
inline constexpr int DesktopPointSize = 0;

struct DialogLayout
{
    int resourceId;
    const char* caption;
    int width;
    int height;
    int pointSize;
    std::span<const ControlLayout> controls;
};

// The footer and the About box's text lines.
inline constexpr char FooterText[] = "Varnel - Random Password Generator - (c) 2026 the Varnel developers";
inline constexpr char AboutVersionText[] = "Varnel Version 1.01";
inline constexpr char AboutNoticeFirstLine[] = "(c) 2026 the Varnel developers";
inline constexpr char AboutNoticeSecondLine[] = "Free software.";

const DialogLayout& mainWindowLayout();
const DialogLayout& aboutBoxLayout();
const DialogLayout& bigViewLayout();
