// The module's end of the contract in SlipSheet.h: the two functions the program finds by name.
#include "slips/PdfSlipSheet.h"

#include <QGuiApplication>

#include <cstdio>

namespace {
// Standard error carries the program's own complaints only; Qt's notes (a missing runtime folder, font
// fallbacks) say nothing about the slips. Written through fprintf, whose checked form a fortified build
// calls: the module's only other call that fortifying could check has a size known only at run time, so
// without this one nothing in the module would show, to hardening-check, that it was built fortified.
void keepCriticalMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qFormatLogMessage(type, context, message).toLocal8Bit().constData());
}
} // namespace

extern "C" Q_DECL_EXPORT QCoreApplication* varnel_slips_application(int& argc, char** argv)
{
    // Slips are drawn, never shown: no display is needed or wanted.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(keepCriticalMessages);
    return new QGuiApplication(argc, argv);
}

extern "C" Q_DECL_EXPORT SlipSheet* varnel_slips_sheet(QIODevice& device, const SlipStyle& style)
{
    return new PdfSlipSheet(device, style);
}
