// The module's end of the contract in SlipSheet.h: the two functions the program finds by name.
#include "slips/PdfSlipSheet.h"

#include <QGuiApplication>

#include <cstdio>

namespace {
// Standard error carries the program's own complaints only; Qt's notes (a missing runtime folder, font
// fallbacks) say nothing about the slips.
void keepCriticalMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fputs(qFormatLogMessage(type, context, message).append(QLatin1Char('\n')).toLocal8Bit().constData(),
                   stderr);
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
