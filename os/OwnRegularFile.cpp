#include "os/OwnRegularFile.h"

#include "os/LinkRule.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FileDescriptor openOwnRegularFile(const QString& path)
{
    FileDescriptor file = openUnderLinkRule(path, O_RDONLY | O_NONBLOCK | O_NOCTTY);
    struct stat status = {};
    if (file && (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != ::geteuid()))
        file.reset();
    return file;
}
