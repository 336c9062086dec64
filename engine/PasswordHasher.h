#pragma once

#include "engine/CredentialPair.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <span>
#include <vector>

enum class HashMethod { Yescrypt, Sha512crypt };

// Turns passwords into crypt(3) hashes as the system's account files hold them, each with a fresh salt from
// the operating system at the cost asked for, or the method's default. The work is shared among threads, one
// for each core the process may use.
class PasswordHasher
{
public:
    // The costs libxcrypt takes for a method: yescrypt's 1 to 11, sha512crypt's rounds 1000 to 999999999.
    struct CostRange
    {
        unsigned long lowest;
        unsigned long highest;
    };
    static CostRange costRange(HashMethod method);

    // Cost: 0 for libxcrypt's default. Threads: 0 for one a usable core.
    explicit PasswordHasher(HashMethod method, unsigned long cost = 0, unsigned threads = 0);

    // The hash of every pair's password, in the pairs' order. False when any hash could not be made;
    // errorString() tells why. As the hashes are made, `hashed` is told on the calling thread how many are.
    bool hashAll(std::span<const CredentialPair> pairs, std::vector<QByteArray>& hashes,
                 const std::function<void(std::size_t)>& hashed = {});
    QString errorString() const { return errorString_; }

private:
    const char* prefix_;
    unsigned long cost_;
    unsigned threads_;
    QString errorString_;
};
