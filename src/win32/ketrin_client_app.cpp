#include "app/platform_services.h"
#include "support/tcp_socket.h"
#include "win32/application.h"
#include "win32/main_dialog.h"

// The application: starts Windows Sockets, runs the main dialog, and ends with it.
class CVorlaWOLIRCServerClientApp : public Capplication {
  protected:
    BOOL init_instance() override {
        winsock_startup();
        Cplatform_services services;
        CVorlaWOLIRCServerClientDlg dialog(services);
        main_window = &dialog;
        dialog.do_modal();
        main_window = nullptr;
        return FALSE;
    }
};

static CVorlaWOLIRCServerClientApp the_application;
