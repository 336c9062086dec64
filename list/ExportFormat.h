#pragma once

#include "engine/GeneratorOptions.h"
#include "list/CredentialPair.h"

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

// The export file: each record is the password, then a comma and the username when there is one.
// One per line ends every record, the last included, with a line feed; CSV puts a comma between
// records and nothing after the last. Bytes go out exactly as given: no quoting, no escaping.
void appendExportRecord(QByteArray& out, QByteArrayView password, QByteArrayView username, SaveLayout layout,
                        bool last);
QByteArray exportRecord(const QByteArray& password, const QByteArray& username, SaveLayout layout, bool last);

QByteArray exportFileContent(const std::vector<CredentialPair>& oldestFirst, SaveLayout layout);
