// Start function: answers --help and --version, then builds the
// application object and runs it.
#include "app/display_check.h"
#include "app/start_options.h"
#include "app/tw_app.h"
#include "app/install_windows.h"
#include "base/save_recovery.h"
#include "settings/settings_path.h"

#include "version_info.h"

#include <QApplication>

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    AnchorSettingsOverride();
    if (const auto answered = AnswerStartOption(argc, argv, stdout)) return *answered;

    std::string why;
    if (!DisplayAvailable(why)) {
        std::fprintf(stderr,
                     "tarnwick: %s; run it under a display, e.g. 'xvfb-run -a %s'.\n",
                     why.c_str(), argv[0]);
        return 1;
    }
    // A save that a crash cut short while it wrote a file in place is
    // undone before any window reads that file.
    save_recovery::RecoverAll();
    QApplication qt(argc, argv);
    // Lets Wayland desktops and task bars match the windows to the
    // installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(version_info::kAppId));
    InstallWindowFactories();
    TWApp app("Tarnwick", argc - 1, argv);
    return app.Run();
}
