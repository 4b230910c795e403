#include "gui_environment.h"

#include "dialog_driver.h"
#include "gui_registry.h"
#include "hosts/hosts_file.h"
#include "support/fixed_texts.h"
#include "win32/login_dialog.h"
#include "win32/main_dialog.h"
#include "win32/res/resource_ids.h"

#include <cstdlib>
#include <stdexcept>

std::string gui_mounts_path(const std::string& leaf) {
    const char* directory = std::getenv("KETRIN_GUI_MOUNTS");
    if (directory == nullptr) {
        throw std::runtime_error("KETRIN_GUI_MOUNTS is not set: run the test through CTest");
    }
    return std::string(directory) + "\\" + leaf;
}

ULONGLONG file_index(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 0;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    const BOOL known = GetFileInformationByHandle(file, &information);
    CloseHandle(file);
    return known ? (ULONGLONG{information.nFileIndexHigh} << 32) | information.nFileIndexLow : 0;
}

HICON program_icon() {
    return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APPLICATION_ICON));
}

void set_hosts_file(const std::string& lines) {
    put_file_bytes(hosts_file_path(), "127.0.0.1\tlocalhost\n" + lines);
}

std::unique_ptr<Cdialog_driver> run_main_dialog(Csystem_services& services, HOOKPROC watch) {
    return std::make_unique<Cdialog_driver>([&services, watch](Capplication& application) {
        const HHOOK hook = watch != nullptr ? SetWindowsHookExA(WH_CALLWNDPROC, watch, nullptr,
                                                                GetCurrentThreadId())
                                            : nullptr;
        CVorlaWOLIRCServerClientDlg dialog(services);
        application.main_window = &dialog;
        dialog.do_modal();
        application.main_window = nullptr;
        if (hook != nullptr) {
            UnhookWindowsHookEx(hook);
        }
    });
}

std::unique_ptr<Cdialog_driver> run_login_dialog(Clogin_services& services) {
    return std::make_unique<Cdialog_driver>([&services](Capplication&) {
        Cdlg_login dialog(services, server_list_host, server_list_port);
        dialog.do_modal();
    });
}

void main_dialog_test::SetUp() {
    clear_game_registry();
    set_hosts_file("");
}

HWND main_dialog_test::open(Csystem_services& services) {
    driver_ = run_main_dialog(services);
    return driver_->wait_for_window("Ketrin Client");
}
