#include "app/CVarnelApp.h"

#include "app/CVarnelDlg.h"
#include "app/Desktop.h"
#include "app/SocketLayer.h"
#include "engine/RandomSource.h"
#include "resources/AppIcon.h"
#include "resources/Strings.h"

bool startApplication(Desktop& desktop, SocketLayer& sockets, RandomSource& random)
{
    if (!sockets.start()) {
        desktop.showMessage(nullptr, QString::fromLatin1(SocketsFailedText), QString::fromLatin1(ApplicationName));
        return false;
    }
    CVarnelDlg window(desktop, random);
    window.OnInitWindow();
    desktop.runModal(window);
    return false;
}

CVarnelApp::CVarnelApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QString::fromLatin1(ApplicationName));
    setApplicationVersion(QStringLiteral("1.01"));
    setDesktopFileName(QStringLiteral("org.example.varnel"));
    setWindowIcon(appIcon());
}

bool CVarnelApp::StartApplication()
{
    QtDesktop desktop;
    SystemSocketLayer sockets;
    return startApplication(desktop, sockets, SystemRandomSource::instance());
}
