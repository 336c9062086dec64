#include "prefs/TooltipTexts.h"

#include "resources/Layouts.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

namespace {
// The texts are the program's own, spelling included.
constexpr std::array Tooltips{
    TooltipRow{IdOk, "This button will save your preferences and then quit the program."},
    TooltipRow{IdResultList, "This list displays all of passwords and usernames currently in your link list."},
    TooltipRow{IdPairCount, "Enter the number of passwords to be generated here."},
    TooltipRow{IdAlphaNumeric, "This option will mean that there will only be letters and numbers in passwords."},
    TooltipRow{IdNumeric, "This option will mean that there will only be numbers in passwords."},
    TooltipRow{IdAlphabetic, "This option will mean that there will only be letters in passwords."},
    TooltipRow{IdGenerate, "This button generates passwords."},
    TooltipRow{IdSave, "This button will allow you to save the current list."},
    TooltipRow{IdRandomUsername, "This option will generate random usernames."},
    TooltipRow{IdLoadUsernames, "This option will allow you to load usernames from a file."},
    TooltipRow{IdNumberedUsernames, "This option will allow you to generate numbered usernames."},
    TooltipRow{IdCsv, "This option will allow you to save all usernames and passwords on one line."},
    TooltipRow{IdOnePerLine, "This option will allow you to have 1 username and password per line on save."},
    TooltipRow{IdAlphaNumSym, "This option will allows letters, numbers and sybmbols in passwords."},
    TooltipRow{IdCharacterCount, "This field specifies how many characters to use in each password."},
    TooltipRow{IdNoUsername, "This option will not generate usernames when you press Generate."},
    TooltipRow{IdPassword, "This field allows you to edit the currently selected password."},
    TooltipRow{IdUsername, "This field allows you to edit the currently selected username."},
    TooltipRow{IdUpperCase, "This option will let you generate UPPERCASE usernames and passwords."},
    TooltipRow{IdLowerCase, "This option will let you generate lowercase usernames and passwords."},
    TooltipRow{IdMixedCase, "This option will let you generate MixED CAsE usernames and passwords."},
    TooltipRow{IdClear, "This button will clear the current list of usernames and passwords."},
    TooltipRow{IdUpdate, "This button will update the currently selected username and password."},
    TooltipRow{IdDelete, "This button will delete the currently selected username and password."},
    TooltipRow{IdBig, "This button will display the username and password in BIG letters."},
    TooltipRow{IdToolTips, "Allows the user to toggle tooltips on or off."},
};

constexpr bool allFitTheField()
{
    for (const TooltipRow& row : Tooltips) {
        if (std::char_traits<char>::length(row.text) >= TooltipTextFieldSize)
            return false;
    }
    return true;
}
static_assert(allFitTheField(), "every tip must fit the request's text field with its terminating zero");
} // namespace

std::span<const TooltipRow> tooltipTable()
{
    return Tooltips;
}

const char* TooltipTextFor(int controlId)
{
    const auto row = std::find_if(Tooltips.begin(), Tooltips.end(), [controlId](const TooltipRow& candidate) {
        return candidate.controlId == controlId;
    });
    return row == Tooltips.end() ? nullptr : row->text;
}

void copyTooltipText(TooltipRequest& request, const char* text)
{
    if (!text)
        return;
    std::size_t length = 0;
    while (length < TooltipTextFieldSize - 1 && text[length] != '\0')
        ++length;
    std::memcpy(request.text, text, length);
    request.text[length] = '\0';
}
