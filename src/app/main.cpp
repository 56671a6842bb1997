// Start function: builds the application object and runs it.
#include "app/display_check.h"
#include "app/tw_app.h"
#include "app/window_factories.h"

#include <QApplication>

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    std::string why;
    if (!DisplayAvailable(why)) {
        std::fprintf(stderr,
                     "tarnwick: %s; run it under a display, e.g. 'xvfb-run -a %s'.\n",
                     why.c_str(), argv[0]);
        return 1;
    }
    QApplication qt(argc, argv);
    InstallWindowFactories();
    TWApp app("Tarnwick", argc - 1, argv);
    return app.Run();
}
