#pragma once

#include <QApplication>

class Desktop;
class RandomSource;
class SocketLayer;

// Starts the program: checks that sockets can be used, then runs the main window until it ends.
// Returns false: there is nothing to run after the main window.
bool startApplication(Desktop& desktop, SocketLayer& sockets, RandomSource& random);

class CVarnelApp final : public QApplication
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CVarnelApp)

public:
    CVarnelApp(int& argc, char** argv);

    bool StartApplication();
};
