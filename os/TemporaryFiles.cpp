#include "os/TemporaryFiles.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <iterator>

#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <sys/random.h>
#include <unistd.h>

namespace {

constexpr int CleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Fixed storage the signal handler can read: nothing to allocate or lock, hence plain descriptors borrowed
// from their owners. A slot's folder is -1 when free, -2 while it is being filled.
struct TemporaryFileSlot
{
    std::atomic<int> folder{-1};
    char name[NAME_MAX + 1] = {};
};
TemporaryFileSlot temporaryFiles[16];

void removeTemporaryFilesAndDie(int signal)
{
    const int savedErrno = errno;
    for (TemporaryFileSlot& slot : temporaryFiles) {
        const int folder = slot.folder.load();
        if (folder >= 0)
            ::unlinkat(folder, slot.name, 0);
    }
    ::signal(signal, SIG_DFL);
    ::raise(signal);
    errno = savedErrno;
}

} // namespace

int registerTemporaryFile(int folder, const QByteArray& name)
{
    if (name.size() > NAME_MAX)
        return -1;
    for (int slot = 0; slot < int(std::size(temporaryFiles)); ++slot) {
        int expected = -1;
        if (temporaryFiles[slot].folder.compare_exchange_strong(expected, -2)) {
            std::memcpy(temporaryFiles[slot].name, name.constData(), size_t(name.size()) + 1);
            temporaryFiles[slot].folder.store(folder);
            return slot;
        }
    }
    return -1;
}

void unregisterTemporaryFile(int slot)
{
    if (slot >= 0)
        temporaryFiles[slot].folder.store(-1);
}

void removeTemporaryFilesOnSignals()
{
    struct sigaction action = {};
    action.sa_handler = removeTemporaryFilesAndDie;
    sigemptyset(&action.sa_mask);
    for (const int signal : CleanupSignals)
        sigaddset(&action.sa_mask, signal);
    for (const int signal : CleanupSignals) {
        struct sigaction previous = {};
        // A signal the caller's parent chose to ignore stays ignored, as it would have been.
        if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler != SIG_IGN)
            ::sigaction(signal, &action, nullptr);
    }
}

QByteArray temporaryNameFor(const QByteArray& target)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    unsigned char random[8] = {};
    if (::getrandom(random, sizeof random, GRND_NONBLOCK) != qsizetype(sizeof random)) {
        timespec now = {};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        std::memcpy(random, &now.tv_nsec, std::min(sizeof random, sizeof now.tv_nsec));
    }
    QByteArray name = '.' + target.left(NAME_MAX - 10) + '.';
    for (const unsigned char byte : random)
        name += letters[byte % (sizeof letters - 1)];
    return name;
}

CleanupSignalHold::CleanupSignalHold()
{
    sigset_t held;
    sigemptyset(&held);
    for (const int signal : CleanupSignals)
        sigaddset(&held, signal);
    pthread_sigmask(SIG_BLOCK, &held, &previousMask_);
}

CleanupSignalHold::~CleanupSignalHold()
{
    pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr);
}
