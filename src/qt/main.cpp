#include "app/platform_services.h"
#include "prefixes/wine_prefix_discovery.h"
#include "qt/main_dialog.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

std::string environment(const char* name) {
    return set(name) ? std::getenv(name) : "";
}

// Without a display Qt would abort with a long complaint; say in one line what to do instead.
bool display_available() {
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

}  // namespace

int main(int argc, char** argv) {
    if (!display_available()) {
        std::fprintf(stderr,
                     "ketrin_client: no display to show its window on (neither DISPLAY nor "
                     "WAYLAND_DISPLAY is set); start it from a desktop session, or under a "
                     "virtual display: xvfb-run %s\n",
                     argv[0]);
        return 1;
    }
    // The prefix: --prefix DIR, else $WINEPREFIX, else the best the launchers' folders offer.
    const std::string named = prefix_option(argc, argv).value_or(environment("WINEPREFIX"));
    QApplication application(argc, argv);
    Cplatform_services services;
    Cqt_main_dialog dialog(
        services, [home = environment("HOME"), named] { return find_wine_prefixes(home, named); });
    dialog.run();
    // A lookup the resolver keeps waiting on cannot be called off: leave it behind rather than
    // keep the window's user waiting, before anything it may still use is torn down.
    if (background_work_running()) {
        std::quick_exit(0);
    }
    return 0;
}
