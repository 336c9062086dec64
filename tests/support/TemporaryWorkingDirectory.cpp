#include "TemporaryWorkingDirectory.h"

#include <QDir>

TemporaryWorkingDirectory::TemporaryWorkingDirectory() : previous_(QDir::currentPath())
{
    if (!folder_.isValid() || !QDir::setCurrent(folder_.path()))
        qWarning("The test's working directory could not be made");
}

TemporaryWorkingDirectory::~TemporaryWorkingDirectory()
{
    QDir::setCurrent(previous_);
}
