#pragma once

#include "engine/GeneratorOptions.h"
#include "resources/Layouts.h"

enum class ChoiceGroup { PasswordStyle, LetterCase, UsernameStyle, SaveLayout };

// A radio button of one of the four choice groups and the value of its group that it stands for.
struct RadioChoice
{
    int id;
    ChoiceGroup group;
    int value;
    // Read after the two number edits, so that a number that fails validation leaves it unread.
    bool afterNumbers;
};

// The one mapping between radio buttons and option values: the routing makes a click its group's choice,
// the bindings read and show the record through it. Rows are in the order the controls are read; where
// more than one button of a group shows as chosen, the last one read counts.
inline constexpr RadioChoice RadioChoices[] = {
    {IdCsv, ChoiceGroup::SaveLayout, int(SaveLayout::Csv), false},
    {IdAlphabetic, ChoiceGroup::PasswordStyle, int(PasswordStyle::Alphabetic), false},
    {IdAlphaNumeric, ChoiceGroup::PasswordStyle, int(PasswordStyle::AlphaNumeric), false},
    {IdNumeric, ChoiceGroup::PasswordStyle, int(PasswordStyle::Numeric), false},
    {IdOnePerLine, ChoiceGroup::SaveLayout, int(SaveLayout::OnePerLine), false},
    {IdLoadUsernames, ChoiceGroup::UsernameStyle, int(UsernameStyle::FromFile), false},
    {IdNumberedUsernames, ChoiceGroup::UsernameStyle, int(UsernameStyle::Numbered), false},
    {IdRandomUsername, ChoiceGroup::UsernameStyle, int(UsernameStyle::Random), false},
    {IdNoUsername, ChoiceGroup::UsernameStyle, int(UsernameStyle::None), true},
    {IdUpperCase, ChoiceGroup::LetterCase, int(LetterCase::Upper), true},
    {IdMixedCase, ChoiceGroup::LetterCase, int(LetterCase::Mixed), true},
    {IdLowerCase, ChoiceGroup::LetterCase, int(LetterCase::Lower), true},
    {IdAlphaNumSym, ChoiceGroup::PasswordStyle, int(PasswordStyle::AlphaNumSym), true},
};
