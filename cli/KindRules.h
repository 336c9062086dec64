#pragma once

#include "cli/UsageError.h"

#include <optional>

struct CliOptions;
struct NameUses;
struct Options;

// What passphrases (-s words) and a site's rules (--rules) must be for the files a run writes, as the recipe's
// passwords are held to them elsewhere (RosterOptions, RunRules). Nothing for the recipe's own passwords.
//  - A format's password policy: a length a passphrase or the rules cannot fall short of, no character the
//    target cannot take (words holding it left out of the list, the rules' characters without it); a policy
//    of classes is refused, as neither is made to hold them.
//  - Spreadsheets: no password may start with = + - @ ' (a word list's words that do are left out; rules that
//    allow such a character are refused), nor may one of digits only start with 0.
//  - Where accounts are made, random usernames of the rules' characters can be drawn all different.
std::optional<UsageError> holdKindToOutputs(const NameUses& uses, const Options& option, CliOptions& options);
