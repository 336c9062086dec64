#pragma once

#include "os/SafeFileWriter.h"

#include <vector>

// Every file the run writes: readable by its owner only, never half-written, and one that exists is refused
// unless --force replaces it, at the moment the new file would take its name, not only at the start.
class OutputFile final : public SafeFileWriter
{
public:
    OutputFile(const QString& path, bool replace)
        : SafeFileWriter(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner, InPlaceFallback::Refused,
                         replace ? Existing::Replace : Existing::Refuse)
        , name_(path)
    { }

    QString name() const { return name_; }
    // Why it failed, as the run says it.
    QString failure() const
    {
        return targetExists() ? QStringLiteral("already exists (--force replaces it)") : errorString();
    }

private:
    QString name_;
};

// Puts the run's files in place as one: all of them reach the disk first, then the new ones take their
// names, then those that replace a file, each kind in the order given. When one fails, the new files already
// in place are removed again and no further file is replaced; a file already replaced cannot be given back,
// since the old one is gone. Null when all are in place, else the one that failed.
OutputFile* commitTogether(const std::vector<OutputFile*>& files);
