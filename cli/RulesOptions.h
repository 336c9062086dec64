#pragma once

#include "cli/UsageError.h"

#include <optional>

class QCommandLineParser;
struct CliOptions;
struct Options;

// The rules passwords are made to (--rules), their length and the characters left out after them; first of
// the passwords' options, since it takes the place of the style.
std::optional<UsageError> readRulesOptions(const QCommandLineParser& parser, const Options& option,
                                           CliOptions& options);
