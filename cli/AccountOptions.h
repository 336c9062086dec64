#pragma once

#include "cli/UsageError.h"

#include <optional>

class QCommandLineParser;
struct CliOptions;
struct Options;

// How many accounts and their usernames: counted, numbered, random or read from a file, and whether the
// records' format can hold them. Reads after the passwords' and the outputs' options, on which it depends.
std::optional<UsageError> readAccountOptions(const QCommandLineParser& parser, const Options& option,
                                             CliOptions& options);
