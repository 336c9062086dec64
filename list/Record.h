#pragma once

#include <QByteArrayView>

// One account as its record holds it; a format leaves out what it has no place for.
struct Record
{
    QByteArrayView password;
    // Empty when the records have no usernames.
    QByteArrayView username;
    // The person's, from a roster; empty without one. The e-mail is the roster's or login@domain.
    QByteArrayView first = {};
    QByteArrayView last = {};
    QByteArrayView fullName = {};
    QByteArrayView email = {};
    // Where the account goes in the target: Google's org unit path, the directory's base DN.
    QByteArrayView container = {};
    // The password is a crypt(3) hash.
    bool hashed = false;
};
