#pragma once

#include <QStringList>

// Of the paths, the first that leads to the same file as an earlier one, whose index goes to `earlier`; -1
// when each leads to a file of its own. Paths are resolved as SafeFileWriter resolves them (the link rule of
// os/LinkRule.h, hop by hop): two lead to the same file when they end at the same name in the same folder, or
// at one existing file (the same device and inode, as hard links and /dev/stdout and its terminal do). An
// empty path, or one that does not resolve, leads to no file.
qsizetype firstRepeatedFile(const QStringList& paths, qsizetype& earlier);
