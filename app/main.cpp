#include "app/CVarnelApp.h"
#include "os/ProcessStart.h"

int main(int argc, char** argv)
{
    secureProcessStart();
    CVarnelApp app(argc, argv);
    app.StartApplication();
    return 0;
}
