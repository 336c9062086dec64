#include "list/ExportFormat.h"

void appendExportRecord(QByteArray& out, QByteArrayView password, QByteArrayView username, SaveLayout layout, bool last)
{
    out.append(password);
    if (!username.isEmpty()) {
        out.append(',');
        out.append(username);
    }
    if (layout == SaveLayout::OnePerLine)
        out.append('\n');
    else if (!last)
        out.append(',');
}

QByteArray exportRecord(const QByteArray& password, const QByteArray& username, SaveLayout layout, bool last)
{
    QByteArray record;
    appendExportRecord(record, password, username, layout, last);
    return record;
}

QByteArray exportFileContent(const std::vector<CredentialPair>& oldestFirst, SaveLayout layout)
{
    qsizetype size = 0;
    for (const CredentialPair& pair : oldestFirst)
        size += pair.password.size() + pair.username.size() + 2;
    QByteArray content;
    content.reserve(size);
    for (std::size_t i = 0; i < oldestFirst.size(); ++i)
        appendExportRecord(content, oldestFirst[i].password, oldestFirst[i].username, layout,
                           i + 1 == oldestFirst.size());
    return content;
}
