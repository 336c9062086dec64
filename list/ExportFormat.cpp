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
