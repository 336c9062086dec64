#pragma once

#include "cli/RosterOptions.h"
#include "engine/GeneratorOptions.h"
#include "engine/PairMaker.h"
#include "engine/PassphraseMaker.h"
#include "engine/PasswordHasher.h"
#include "engine/PasswordMaker.h"
#include "engine/RulesPasswordMaker.h"
#include "list/RecordFormat.h"
#include "slips/SlipSheet.h"

#include <QString>

#include <optional>

// Everything one run of varnel-cli is asked to do.
struct CliOptions
{
    // Characters by the recipe, words by the passphrase recipe (-s words), or a site's rules (--rules).
    enum class Kind { Characters, Words, Rules };

    Kind kind = Kind::Characters;
    // 16 characters, letters of both cases and digits, unless told otherwise.
    PasswordRecipe recipe = {PasswordStyle::AlphaNumeric, LetterCase::Mixed, 16, false, false, {}};
    // Its word list, read from a file when one is named, and its separator checked against the words.
    // The large list is unpacked only by runs that make passphrases, not at every start.
    PassphraseRecipe passphrase = {.words = WordList()};
    RulesRecipe rules;
    quint64 count = 1;
    UsernameStyle usernames = UsernameStyle::None;
    UsernameNumbering numbering;
    // A name a line; "-" is standard input. Empty: no names file.
    QString namesFile;
    const RecordFormat* format = &RecordFormat::all().front();
    // Empty or "-": standard output.
    QString outputFile;
    bool force = false;
    // root and the system's other accounts may be among the usernames of accounts.
    bool allowSystemAccounts = false;
    bool entropy = false;
    // The records carry the hash of each password; the plain passwords go to the plain file or the slips.
    std::optional<HashMethod> hash;
    // libxcrypt's cost for the method; 0 for its own default.
    unsigned long hashCost = 0;
    // The same accounts as plain table records. Empty: none; "-": standard output.
    QString plainFile;
    // The slips PDF. Empty: none; "-": standard output.
    QString slipsFile;
    SlipStyle slips;
    RosterRun roster;

    // The file name that stands for standard output (and for standard input where a file is read).
    static bool isStandardStream(const QString& path) { return path == QLatin1String("-"); }
    bool recordsToStandardOutput() const { return outputFile.isEmpty() || isStandardStream(outputFile); }
    bool writesStandardOutput() const
    {
        return recordsToStandardOutput() || isStandardStream(plainFile) || isStandardStream(slipsFile);
    }
};
