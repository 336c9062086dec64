#pragma once

struct CliOptions;

// Makes the pairs and writes their records; the exit status: 0 done (also when the reader of standard
// output went away), 1 when a file or the random source failed, after one line on standard error.
int generate(const CliOptions& options);
