#pragma once

#include <QString>

struct CliOptions;
class SlipsLoader;

// Makes the pairs and writes their records (and the plain file and the slips, when asked); the exit status:
// 0 done (also when the reader of standard output went away), 1 when a file, a hash or the random source
// failed, after one line on standard error. The slips module is there when the options ask for slips.
int generate(const CliOptions& options, const SlipsLoader* slips);
