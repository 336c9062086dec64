#pragma once

#include "cli/OutputFile.h"
#include "os/OutputDevice.h"

#include <QByteArrayView>
#include <QString>

#include <optional>

// Where a file's bytes go (the records, the plain passwords, the slips): standard output as they come, or a file
// that takes the place of any old one only once all of them are written (committed with the run's other files).
class RecordOutput
{
    Q_DISABLE_COPY_MOVE(RecordOutput)

public:
    // An empty path, or "-", is standard output.
    RecordOutput(const QString& path, bool replace);

    bool open();
    bool write(QByteArrayView bytes);
    // For writers that take a device (the PDF writer); failed() then tells whether all they wrote went through.
    QIODevice& device() { return *device_; }
    bool failed();
    // Null for standard output.
    OutputFile* file() { return file_ ? &*file_ : nullptr; }

    QString name() const;
    QString errorString() const { return errorString_; }
    // Whether standard output failed only because its reader went away (as "| head" does).
    bool readerWentAway() const { return device_->readerWentAway(); }

private:
    bool fail(const QString& reason);
    bool fileFailed() { return fail(file_->failure()); }

    std::optional<OutputFile> file_;
    std::optional<OutputDevice> device_;
    QString errorString_;
};
