// Draws both dialogs as the program shows them and saves them as pictures:
//   qt_screenshots OUTPUT_DIRECTORY
// The main dialog reads the real system; the login dialog lists a few made-up games and
// accounts, so that its lists show something.
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
    Cqt_main_dialog main_dialog(services);
    if (!save(main_dialog, directory + "/qt_main.png")) {
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
