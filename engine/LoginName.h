#pragma once

#include "engine/Roster.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <vector>

// Login names as useradd takes them: at most this many characters of a-z 0-9 . _ -, starting with a letter.
inline constexpr qsizetype MaxLoginLength = 32;

// A name folded to what a login may hold: transliterated to Latin and then to ASCII (Zoë → zoe, 王 → wang,
// ß → ss), lower case, spaces and apostrophes dropped, anything else but a-z 0-9 . _ - dropped too.
QByteArray foldForLogin(QStringView text);

// Gives every person of a roster a login. Usernames the roster gives are kept as they are (two equal ones
// are an error naming both lines); the others are made from the template, whose placeholders are {first},
// {last}, {f} and {l} (their initials) and {class}, and made unique by a number: anna.berg, anna.berg2,
// anna.berg3. Returns the error, or an empty string.
QString assignLogins(std::vector<RosterPerson>& people, const QString& loginTemplate);

// Why a template cannot make logins (an unknown placeholder, an unclosed brace), or empty.
QString checkLoginTemplate(const QString& loginTemplate);
