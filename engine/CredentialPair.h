#pragma once

#include <QByteArray>

// One row of the result list. Both texts are bytes, kept exactly as they were made or read.
struct CredentialPair
{
    QByteArray password;
    QByteArray username;

    friend bool operator==(const CredentialPair&, const CredentialPair&) = default;
};
