#include "os/LinkRule.h"

#include "os/NativeFileName.h"

#include <cerrno>

#include <fcntl.h>
#include <limits.h>
#include <linux/magic.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace {

constexpr int MaxLinkHops = 40;

// Opens the folder that holds `path` (taken relative to `at`) and names the last part of the path.
int openFolderOf(int at, const QByteArray& path, QByteArray& name)
{
    const qsizetype slash = path.lastIndexOf('/');
    name = path.mid(slash + 1);
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
    if (name.isEmpty() || name == "." || name == "..") {
        errno = EISDIR;
        return -1;
    }
    const int descriptor = ::openat(at, folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0 || errno != EACCES)
        return descriptor;
    // A folder one may write in but not list still takes the file; it cannot be synced then.
    return ::openat(at, folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

bool inProc(int folder)
{
    struct statfs system = {};
    return ::fstatfs(folder, &system) == 0 && system.f_type == PROC_SUPER_MAGIC;
}

bool isStream(mode_t mode)
{
    return S_ISFIFO(mode) || S_ISSOCK(mode) || S_ISCHR(mode) || S_ISBLK(mode);
}

} // namespace

int resolveUnderLinkRule(const QByteArray& path, FileDescriptor& folder, QByteArray& name, struct stat& target,
                         bool& exists, bool& stream)
{
    stream = false;
    const int first = openFolderOf(AT_FDCWD, path, name);
    if (first < 0)
        return errno;
    folder.reset(first);
    for (int hops = 0;; ++hops) {
        exists = ::fstatat(folder.get(), name.constData(), &target, AT_SYMLINK_NOFOLLOW) == 0;
        if (!exists)
            return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(target.st_mode))
            return 0;
        struct stat holder = {};
        if (::fstat(folder.get(), &holder) != 0)
            return errno;
        if (target.st_uid != ::geteuid() && target.st_uid != holder.st_uid)
            return ForeignLink;
        // The links of /proc are the kernel's, not any user's. /proc/self/fd/N leads straight to what the
        // process holds open, not along a path; a stream found there (the pipe or terminal behind
        // /dev/stdout) is taken as found, for the caller to judge by its owner like any other. Every other
        // link, there or anywhere, is walked as the text it holds, hop by hop.
        struct stat followed = {};
        if (inProc(folder.get()) && ::fstatat(folder.get(), name.constData(), &followed, 0) == 0
            && isStream(followed.st_mode)) {
            target = followed;
            stream = true;
            return 0;
        }
        if (hops == MaxLinkHops)
            return ELOOP;
        char link[PATH_MAX];
        const ssize_t size = ::readlinkat(folder.get(), name.constData(), link, sizeof link);
        if (size < 0)
            return errno;
        if (size == ssize_t(sizeof link))
            return ENAMETOOLONG;
        const int next = openFolderOf(folder.get(), QByteArray(link, size), name);
        if (next < 0)
            return errno;
        folder.reset(next);
    }
}

FileDescriptor openUnderLinkRule(const QString& path, int flags)
{
    FileDescriptor file;
    int error = 0;
    // The folder is closed before errno is set, so that its close cannot change it.
    {
        FileDescriptor folder;
        QByteArray name;
        struct stat target = {};
        bool exists = false;
        bool stream = false;
        error = resolveUnderLinkRule(nativeFileName(path), folder, name, target, exists, stream);
        if (error == 0)
            file.reset(::openat(folder.get(), name.constData(), flags | (stream ? 0 : O_NOFOLLOW) | O_CLOEXEC));
        if (!file && error == 0)
            error = errno;
    }
    errno = error == ForeignLink ? ELOOP : error;
    return file;
}
