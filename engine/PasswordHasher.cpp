#include "engine/PasswordHasher.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

#include <crypt.h>
#include <sched.h>

namespace {

// One hash into `hash`, or the reason it could not be made.
QString hashOne(const char* prefix, unsigned long cost, const QByteArray& password, crypt_data& data, QByteArray& hash)
{
    char setting[CRYPT_GENSALT_OUTPUT_SIZE];
    errno = 0;
    if (!crypt_gensalt_rn(prefix, cost, nullptr, 0, setting, sizeof setting))
        return QString::fromLocal8Bit(std::strerror(errno ? errno : EINVAL));
    errno = 0;
    const char* made = crypt_rn(password.constData(), setting, &data, sizeof data);
    // A failed crypt_rn may still return a text, one that starts with '*' and never matches.
    if (!made || made[0] == '*')
        return QString::fromLocal8Bit(std::strerror(errno ? errno : EINVAL));
    hash = QByteArray(made);
    return {};
}

// The processors this process may run on (fewer than the machine's under taskset or a container's limit).
unsigned usableCores()
{
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (sched_getaffinity(0, sizeof allowed, &allowed) == 0 && CPU_COUNT(&allowed) > 0)
        return unsigned(CPU_COUNT(&allowed));
    return std::max(1u, std::thread::hardware_concurrency());
}

} // namespace

PasswordHasher::CostRange PasswordHasher::costRange(HashMethod method)
{
    return method == HashMethod::Yescrypt ? CostRange{1, 11} : CostRange{1000, 999'999'999};
}

PasswordHasher::PasswordHasher(HashMethod method, unsigned long cost, unsigned threads)
    : prefix_(method == HashMethod::Yescrypt ? "$y$" : "$6$"), cost_(cost), threads_(threads ? threads : usableCores())
{ }

bool PasswordHasher::hashAll(std::span<const CredentialPair> pairs, std::vector<QByteArray>& hashes,
                             const std::function<void(std::size_t)>& hashed)
{
    hashes.assign(pairs.size(), {});
    std::atomic<std::size_t> next = 0;
    std::atomic<std::size_t> done = 0;
    std::atomic<bool> failed = false;
    std::mutex errorLock;
    auto work = [&](bool tells) {
        // Large (tens of kilobytes) and must start zeroed: one on the heap for each thread.
        auto data = std::make_unique<crypt_data>();
        for (std::size_t i = next++; i < pairs.size() && !failed; i = next++) {
            const QString error = hashOne(prefix_, cost_, pairs[i].password, *data, hashes[i]);
            if (!error.isEmpty()) {
                const std::lock_guard lock(errorLock);
                errorString_ = error;
                failed = true;
            }
            ++done;
            if (tells && hashed)
                hashed(done);
        }
    };
    std::vector<std::thread> helpers;
    const std::size_t threads = std::min<std::size_t>(threads_, pairs.size());
    for (std::size_t t = 1; t < threads; ++t)
        helpers.emplace_back(work, false);
    work(true);
    for (std::thread& helper : helpers)
        helper.join();
    return !failed;
}
