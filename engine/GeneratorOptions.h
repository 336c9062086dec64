#pragma once

#include <QByteArray>

#include <optional>

enum class PasswordStyle { Numeric, Alphabetic, AlphaNumeric, AlphaNumSym };
enum class LetterCase { Upper, Lower, Mixed };
enum class UsernameStyle { Random, FromFile, Numbered, None };
enum class SaveLayout { Csv, OnePerLine };

// The option record behind the main window's controls. Each choice group holds at most one value;
// nothing is chosen until the defaults are applied, after which every group holds exactly one.
// The two texts are bytes, kept exactly as produced or loaded; they are decoded only for display.
struct GeneratorOptions
{
    std::optional<PasswordStyle> passwordStyle;
    std::optional<LetterCase> letterCase;
    std::optional<UsernameStyle> usernameStyle;
    std::optional<SaveLayout> saveLayout;
    qint32 characterCount = 8;
    qint32 pairCount = 1;
    QByteArray currentPassword;
    QByteArray currentUsername;
    bool tooltipsEnabled = false;
    QByteArray tooltipsPreference;

    void applyDefaultChoices()
    {
        saveLayout = SaveLayout::Csv;
        passwordStyle = PasswordStyle::Numeric;
        usernameStyle = UsernameStyle::Random;
        letterCase = LetterCase::Upper;
    }
};

// The ranges that the two number fields accept.
inline constexpr qint32 MinCharacterCount = 1;
inline constexpr qint32 MaxCharacterCount = 50;
inline constexpr qint32 MinPairCount = 1;
inline constexpr qint32 MaxPairCount = 10000;

// The generating path refuses values at or above these.
inline constexpr qint32 GeneratePairCeiling = 10000;
inline constexpr qint32 GenerateCharacterCeiling = 50;
