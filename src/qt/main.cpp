#include "app/platform_services.h"
#include "qt/main_dialog.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

bool set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
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
    QApplication application(argc, argv);
    Cplatform_services services;
    Cqt_main_dialog dialog(services);
    dialog.run();
    return 0;
}
