#pragma once

#include "cli/UsageError.h"

#include <optional>

class QCommandLineParser;
struct CliOptions;
struct Options;

// Where the accounts go and in what form: the records' format and file, their hashes, the plain file, the
// slips and their look.
std::optional<UsageError> readOutputOptions(const QCommandLineParser& parser, const Options& option,
                                            CliOptions& options);
