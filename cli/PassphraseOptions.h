#pragma once

#include "cli/UsageError.h"

#include <optional>

class QCommandLineParser;
struct CliOptions;
struct Options;

// What passphrases are made of (-s words): their word count, word list, separator, capitals and number. The
// options of characters do not apply to words, nor the passphrases' options to anything else. A word list
// file is read here.
std::optional<UsageError> readPassphraseOptions(const QCommandLineParser& parser, const Options& option,
                                                CliOptions& options);
