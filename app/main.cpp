#include "app/CVarnelApp.h"

int main(int argc, char** argv)
{
    CVarnelApp app(argc, argv);
    app.StartApplication();
    return 0;
}
