#pragma once

#include "engine/CredentialPair.h"

#include <QByteArray>
#include <QString>

#include <span>
#include <vector>

enum class HashMethod { Yescrypt, Sha512crypt };

// Turns passwords into crypt(3) hashes as the system's account files hold them, each with a fresh salt from
// the operating system at the method's default cost. The work is shared among threads, one for each core the
// process may use.
class PasswordHasher
{
public:
    // Threads: 0 for one a usable core.
    explicit PasswordHasher(HashMethod method, unsigned threads = 0);

    // The hash of every pair's password, in the pairs' order. False when any hash could not be made;
    // errorString() tells why.
    bool hashAll(std::span<const CredentialPair> pairs, std::vector<QByteArray>& hashes);
    QString errorString() const { return errorString_; }

private:
    const char* prefix_;
    unsigned threads_;
    QString errorString_;
};
