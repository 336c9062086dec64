#pragma once

#include <QString>

struct UsageError;

// "varnel-cli: <what>: <reason>" on standard error; returns 1, the status of a failed run.
int complain(const QString& what, const QString& reason);

// A command line that is not run, as one line on standard error; returns its status: 2 for a usage error,
// pointing to --help unless it names what was meant, 1 for a file it names that cannot be read.
int complainOf(const UsageError& error);

// "varnel-cli: warning: <text>" on standard error; the run goes on.
void warn(const QString& text);
