// Draws both dialogs as the program shows them and saves them as pictures:
//   qt_screenshots OUTPUT_DIRECTORY
// The main dialog reads the real system but offers two made-up Wine prefixes; the login dialog
// lists a few made-up games and accounts, so that its lists show something.
#include "prefixes/wine_prefix_discovery.h"
#include "qt/login_dialog.h"
#include "qt/main_dialog.h"
#include "qt/qt_test_support.h"
#include "support/fixed_texts.h"

#include <QApplication>
#include <QComboBox>
#include <QPixmap>
#include <QTimer>

#include <cstdio>

namespace {

bool save(QWidget& dialog, const QString& path) {
    dialog.show();
    settle();
    QEventLoop loop;
    // Give the window system time to map the window before it is drawn.
    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();
    return dialog.grab().save(path, "PNG");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: qt_screenshots OUTPUT_DIRECTORY\n");
        return 2;
    }
    QApplication application(argc, argv);
    const QString directory = QString::fromLocal8Bit(argv[1]);

    Cqt_test_services services;
    // Two prefixes as a player's launchers keep them; the folders need not exist for the picture.
    wine_prefix_search prefixes;
    prefixes.prefixes = {
        {"/home/player/Games/red-alert-2", {"Red Alert 2"}, true},
        {"/home/player/.steam/steam/steamapps/compatdata/2229850/pfx", {"Tiberian Sun"}, false}};
    prefixes.chosen = prefixes.prefixes.front().directory;
    Cqt_main_dialog main_dialog(services, [&prefixes] { return prefixes; });
    if (!settle_until_work_is_done() || !save(main_dialog, directory + "/qt_main.png")) {
        return 1;
    }
    main_dialog.hide();

    fake_registry registry;
    for (const char* game : {"Tiberian Sun", "Red Alert 2", "Yuri's Revenge"}) {
        registry.add_key(registry_root::local_machine, std::string("Software\\Westwood\\") + game);
    }
    registry.add_account(1, "Commander", "password");
    registry.add_account(2, "alpha", "password");
    services.registry = &registry;
    Cqt_login_dialog login(services, server_list_host, server_list_port);
    return save(login, directory + "/qt_login.png") ? 0 : 1;
}
