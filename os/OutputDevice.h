#pragma once

#include <QIODevice>

class SafeFileWriter;

// Bytes handed on as they come, to a safe writer or to a descriptor that someone else opened and closes
// (standard output): a device for what writes to devices (the PDF writer), and the sink records go to.
// A write that fails returns -1 with the reason as the device's error.
class OutputDevice final : public QIODevice
{
    Q_DISABLE_COPY_MOVE(OutputDevice)

public:
    explicit OutputDevice(SafeFileWriter& file);
    explicit OutputDevice(int descriptor);

    bool isSequential() const override { return true; }
    // Whether the last failure was the reader of a pipe going away (as "| head" does).
    bool readerWentAway() const { return readerWentAway_; }
    // Whether any write failed: a writer that takes a device (the PDF writer) does not say.
    bool hasFailed() const { return failed_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

private:
    SafeFileWriter* file_ = nullptr;
    int descriptor_ = -1;
    bool readerWentAway_ = false;
    bool failed_ = false;
};
