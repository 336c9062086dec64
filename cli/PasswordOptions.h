#pragma once

#include "cli/UsageError.h"

#include <optional>

class QCommandLineParser;
struct CliOptions;
struct Options;

// What the passwords are made of: their length, style and case, and the characters left out.
std::optional<UsageError> readPasswordOptions(const QCommandLineParser& parser, const Options& option,
                                              CliOptions& options);
