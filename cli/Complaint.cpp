#include "cli/Complaint.h"

#include "cli/UsageError.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

void writeLine(const QString& text)
{
    const QByteArray line =
        (QCoreApplication::applicationName() + QStringLiteral(": ") + text + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(line.constData(), 1, std::size_t(line.size()), stderr);
}

} // namespace

int complain(const QString& what, const QString& reason)
{
    writeLine(what + QStringLiteral(": ") + reason);
    return 1;
}

int complainOf(const UsageError& error)
{
    if (error.unreadableFile) {
        writeLine(error.text);
        return 1;
    }
    writeLine(error.pointsToHelp
                  ? error.text + QStringLiteral(" (see %1 --help)").arg(QCoreApplication::applicationName())
                  : error.text);
    return 2;
}

void warn(const QString& text)
{
    writeLine(QStringLiteral("warning: ") + text);
}
