#include "cli/OutputFile.h"

#include "os/TemporaryFiles.h"

#include <algorithm>

OutputFile* commitTogether(const std::vector<OutputFile*>& files)
{
    for (OutputFile* file : files) {
        if (!file->sync())
            return file;
    }
    std::vector<OutputFile*> order = files;
    std::stable_partition(order.begin(), order.end(), [](const OutputFile* file) { return !file->replacesTarget(); });
    // An interrupt waits until the files are all in place or all new ones taken back.
    const CleanupSignalHold hold;
    for (auto failed = order.begin(); failed != order.end(); ++failed) {
        if ((*failed)->commit())
            continue;
        // The one that failed too: it may have taken its name before the folder could be synced.
        for (auto done = order.begin(); done <= failed; ++done)
            (*done)->withdraw();
        return *failed;
    }
    return nullptr;
}
