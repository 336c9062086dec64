#include "cli/RecordOutput.h"

#include <unistd.h>

RecordOutput::RecordOutput(const QString& path, bool replace)
{
    if (path.isEmpty() || path == QStringLiteral("-")) {
        device_.emplace(STDOUT_FILENO);
    } else {
        file_.emplace(path, replace);
        device_.emplace(*file_);
    }
}

bool RecordOutput::open()
{
    return !file_ || file_->open() || fileFailed();
}

bool RecordOutput::write(QByteArrayView bytes)
{
    if (device_->write(bytes.data(), bytes.size()) == bytes.size())
        return true;
    return file_ ? fileFailed() : fail(device_->errorString());
}

bool RecordOutput::failed()
{
    if (!device_->hasFailed())
        return false;
    errorString_ = file_ ? file_->failure() : device_->errorString();
    return true;
}

QString RecordOutput::name() const
{
    return file_ ? file_->name() : QStringLiteral("standard output");
}

bool RecordOutput::fail(const QString& reason)
{
    errorString_ = reason;
    return false;
}
