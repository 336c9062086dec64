#pragma once

#include "cli/UsageError.h"

class QCommandLineParser;

// What the parser could not take (an unknown option, a missing value), as a usage error naming the option.
UsageError parserError(const QCommandLineParser& parser);
