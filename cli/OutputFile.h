#pragma once

#include "os/SafeFileWriter.h"

// Every file the run writes: readable by its owner only, never half-written, and one that exists is refused
// unless --force replaces it, at the moment the new file would take its name, not only at the start.
class OutputFile final : public SafeFileWriter
{
public:
    OutputFile(const QString& path, bool replace)
        : SafeFileWriter(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner, InPlaceFallback::Refused,
                         replace ? Existing::Replace : Existing::Refuse)
    { }

    // Why it failed, as the run says it.
    QString failure() const
    {
        return targetExists() ? QStringLiteral("already exists (--force replaces it)") : errorString();
    }
};
