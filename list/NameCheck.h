#pragma once

#include "list/RecordFormat.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstring>

// Whether each username can go into a record of a format, as the format's refusal says, looking at each name
// once: the same name again, as the empty one of every record without usernames, passes without a second
// look. A run asks for every record, so this is inline.
class NameCheck
{
public:
    explicit NameCheck(const RecordFormat& format) : format_(format) { }

    // Why the name cannot go into a record, or empty when it can.
    QString refusal(QByteArrayView username)
    {
        if (!format_.refuse || (anyPassed_ && username == passed_))
            return {};
        QString refusal = format_.refuse(username);
        if (refusal.isEmpty()) {
            // Copied rather than shared, so that the maker can go on writing the next name into its own array.
            passed_.resize(username.size());
            if (!username.isEmpty())
                std::memcpy(passed_.data(), username.data(), std::size_t(username.size()));
            anyPassed_ = true;
        }
        return refusal;
    }

private:
    const RecordFormat& format_;
    QByteArray passed_;
    bool anyPassed_ = false;
};
