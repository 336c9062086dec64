#pragma once

#include "cli/UsageError.h"

#include <QList>

class QCommandLineOption;
class QCommandLineParser;

// What the parser could not take (an unknown option, a missing value), as a usage error naming the option. An
// unknown option close to a known one (a letter wrong, missing, extra or two swapped) names that one instead of
// pointing to --help.
UsageError parserError(const QCommandLineParser& parser, const QList<QCommandLineOption>& known);
