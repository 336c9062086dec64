#pragma once

#include "cli/UsageError.h"

#include <optional>

class QCommandLineParser;
struct CliOptions;
struct Options;

// What passwords of characters are made of: their length, style and case, and the characters left out. The
// style words makes passphrases instead; after --rules this reads nothing.
std::optional<UsageError> readPasswordOptions(const QCommandLineParser& parser, const Options& option,
                                              CliOptions& options);
