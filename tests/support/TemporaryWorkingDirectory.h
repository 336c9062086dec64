#pragma once

#include <QString>
#include <QTemporaryDir>

// A folder of the test's own that is the working directory while this lives; afterwards the working
// directory is the one from before again, however the test ends.
class TemporaryWorkingDirectory
{
    Q_DISABLE_COPY_MOVE(TemporaryWorkingDirectory)

public:
    TemporaryWorkingDirectory();
    ~TemporaryWorkingDirectory();

    QString path() const { return folder_.path(); }
    QString filePath(const QString& name) const { return folder_.filePath(name); }

private:
    QString previous_;
    QTemporaryDir folder_;
};
