#include "resources/Layouts.h"

#include <array>

namespace {
using K = ControlKind;

// Creation order, which is also the Tab order.
constexpr std::array MainWindowControls{
    ControlLayout{IdOk, K::DefaultPushButton, "OK", 260, 5, 50, 14},
    ControlLayout{IdResultList, K::ListView, "", 5, 120, 305, 70},
    ControlLayout{NoControlId, K::StaticText, FooterText, 10, 192, 280, 8},
    ControlLayout{IdPairCount, K::NumberEdit, "", 77, 5, 40, 14},
    ControlLayout{NoControlId, K::StaticText, "Number to Generate:", 5, 8, 67, 8},
    ControlLayout{IdAlphaNumeric, K::RadioButton, "Alpha-Numeric", 110, 60, 62, 10},
    ControlLayout{IdNumeric, K::RadioButton, "Numeric", 110, 40, 42, 10},
    ControlLayout{IdAlphabetic, K::RadioButton, "Alphabetic", 110, 50, 49, 10},
    ControlLayout{NoControlId, K::GroupBox, "Password Style:", 107, 30, 70, 55},
    ControlLayout{IdGenerate, K::PushButton, "Generate", 260, 20, 50, 14},
    ControlLayout{IdSave, K::PushButton, "Save", 260, 81, 50, 14},
    ControlLayout{IdRandomUsername, K::RadioButton, "Random Username", 12, 40, 77, 10},
    ControlLayout{IdLoadUsernames, K::RadioButton, "Load Usernames", 12, 50, 69, 10},
    ControlLayout{IdNumberedUsernames, K::RadioButton, "Numbered Usernames", 12, 60, 86, 10},
    ControlLayout{NoControlId, K::GroupBox, "Username Style:", 5, 30, 95, 55},
    ControlLayout{NoControlId, K::GroupBox, "Save Options:", 107, 86, 70, 30},
    ControlLayout{IdCsv, K::RadioButton, "CSV", 115, 94, 30, 10},
    ControlLayout{IdOnePerLine, K::RadioButton, "One Per Line", 115, 104, 57, 10},
    ControlLayout{NoControlId, K::StaticText, "Number of Characters:", 122, 8, 75, 8},
    ControlLayout{IdCharacterCount, K::NumberEdit, "", 202, 5, 40, 14},
    ControlLayout{IdNoUsername, K::RadioButton, "No Username", 12, 70, 59, 10},
    ControlLayout{NoControlId, K::StaticText, "Password:", 10, 90, 34, 8},
    ControlLayout{NoControlId, K::StaticText, "Username:", 9, 105, 35, 8},
    ControlLayout{IdPassword, K::TextEdit, "", 46, 88, 54, 14},
    ControlLayout{IdUsername, K::TextEdit, "", 46, 103, 54, 14},
    ControlLayout{IdUpperCase, K::RadioButton, "Upper Case", 188, 39, 53, 10},
    ControlLayout{IdLowerCase, K::RadioButton, "Lower Case", 188, 49, 53, 10},
    ControlLayout{IdMixedCase, K::RadioButton, "Mixed Case", 188, 59, 53, 10},
    ControlLayout{NoControlId, K::GroupBox, "Character Set:", 183, 30, 70, 55},
    ControlLayout{IdClear, K::PushButton, "Clear", 260, 62, 50, 14},
    ControlLayout{IdAlphaNumSym, K::RadioButton, "Alpha-Num-Sym", 110, 71, 66, 10},
    ControlLayout{IdUpdate, K::PushButton, "Update", 260, 34, 50, 14},
    ControlLayout{IdDelete, K::PushButton, "Delete", 260, 48, 50, 14},
    ControlLayout{IdBig, K::PushButton, "BIG", 183, 90, 70, 25},
    ControlLayout{IdToolTips, K::CheckBox, "ToolTips", 259, 110, 43, 10},
};

constexpr std::array AboutBoxControls{
    ControlLayout{NoControlId, K::Icon, "", 11, 17, 20, 20},
    ControlLayout{NoControlId, K::StaticText, AboutVersionText, 40, 10, 119, 8},
    ControlLayout{NoControlId, K::StaticText, AboutNoticeFirstLine, 40, 22, 119, 8},
    ControlLayout{IdOk, K::DefaultPushButton, "OK", 178, 7, 50, 14},
    ControlLayout{NoControlId, K::StaticText, AboutNoticeSecondLine, 40, 35, 72, 8},
};

constexpr std::array BigViewControls{
    ControlLayout{IdOk, K::DefaultPushButton, "OK", 80, 50, 50, 14},
    ControlLayout{NoControlId, K::StaticText, "Username:", 0, 0, 65, 9},
    ControlLayout{NoControlId, K::StaticText, "Password:", 0, 25, 65, 8},
    ControlLayout{IdBigUsername, K::TextEdit, "", 0, 10, 130, 14},
    ControlLayout{IdBigPassword, K::TextEdit, "", 0, 34, 130, 14},
};
} // namespace

const DialogLayout& mainWindowLayout()
{
    static const DialogLayout layout{102, "Varnel", 320, 200, DesktopPointSize, MainWindowControls};
    return layout;
}

const DialogLayout& aboutBoxLayout()
{
    static const DialogLayout layout{100, "About Varnel", 235, 55, DesktopPointSize, AboutBoxControls};
    return layout;
}

const DialogLayout& bigViewLayout()
{
    static const DialogLayout layout{129, "Password", 130, 66, 24, BigViewControls};
    return layout;
}
