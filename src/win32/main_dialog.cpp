#include "win32/main_dialog.h"

#include "app/main_dialog_template.h"
#include "support/fixed_texts.h"
#include "win32/application.h"
#include "win32/login_dialog.h"
#include "win32/minimised_icon.h"
#include "win32/res/resource_ids.h"
#include "win32/window_menu.h"

#include <commctrl.h>

CVorlaWOLIRCServerClientDlg::CVorlaWOLIRCServerClientDlg(Csystem_services& services)
    : Cdialog_window(main_dialog_template.id),
      icon_(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APPLICATION_ICON))),
      services_(services),
      model_(*this, services) {}

void CVorlaWOLIRCServerClientDlg::do_data_exchange(Cdata_exchange& exchange) {
    exchange.control(main_controls::current_address, current_address_);
    exchange.control(main_controls::community_address, community_address_);
    exchange.text(main_controls::hosts_path, hosts_path_);
    exchange.text(main_controls::api_path, api_path_);
}

BOOL CVorlaWOLIRCServerClientDlg::on_init_dialog() {
    Cdialog_window::on_init_dialog();
    services_.set_prompt_owner(window_id{reinterpret_cast<std::uintptr_t>(hwnd())});
    model_.initialise();
    // Windows' mark for a command that will ask for the administrator's consent.
    if (services_.may_rewrite_with_rights(model_.hosts_path())) {
        SendDlgItemMessageA(hwnd(), main_controls::reset, BCM_SETSHIELD, 0, TRUE);
    }
    add_menu_commands(hwnd());
    SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    return TRUE;
}

bool CVorlaWOLIRCServerClientDlg::on_command(WORD id, WORD notification) {
    return notification == 0 && model_.on_command(id);
}

bool CVorlaWOLIRCServerClientDlg::on_message(UINT message, WPARAM wparam, LPARAM, LRESULT& result) {
    if (message == WM_DESTROY) {
        services_.set_prompt_owner(window_id::none);
        return false;
    }
    if (message == WM_SYSCOMMAND) {
        const int command = menu_command_chosen(wparam);
        if (command != 0) {
            model_.on_command(command);
            return true;
        }
    }
    if (message == WM_PAINT && IsIconic(hwnd())) {
        paint_minimised_icon();
        return true;
    }
    if (message == WM_QUERYDRAGICON) {
        result = reinterpret_cast<LRESULT>(icon_);
        return true;
    }
    return false;
}

void CVorlaWOLIRCServerClientDlg::paint_minimised_icon() {
    PAINTSTRUCT paint;
    HDC context = BeginPaint(hwnd(), &paint);
    SendMessageA(hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(context), 0);
    RECT client;
    GetClientRect(hwnd(), &client);
    const POINT origin =
        minimised_icon_origin(client, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    DrawIcon(context, origin.x, origin.y, icon_);
    EndPaint(hwnd(), &paint);
}

void CVorlaWOLIRCServerClientDlg::set_community_address(std::uint32_t control_value) {
    community_address_.set_address(control_value);
}

std::uint32_t CVorlaWOLIRCServerClientDlg::community_address() const {
    return community_address_.address();
}

void CVorlaWOLIRCServerClientDlg::set_current_address(std::uint32_t control_value) {
    current_address_.set_address(control_value);
}

void CVorlaWOLIRCServerClientDlg::set_hosts_path(const std::string& path) {
    hosts_path_ = path;
    SetDlgItemTextA(hwnd(), main_controls::hosts_path, hosts_path_.c_str());
}

void CVorlaWOLIRCServerClientDlg::set_api_path(const std::string& path) {
    api_path_ = path;
    SetDlgItemTextA(hwnd(), main_controls::api_path, api_path_.c_str());
}

void CVorlaWOLIRCServerClientDlg::show_error(const std::string& text) {
    // No owner and no caption: the platform's own caption for errors.
    MessageBoxA(nullptr, text.c_str(), nullptr, MB_ICONERROR | MB_OK);
}

void CVorlaWOLIRCServerClientDlg::run_login_dialog() {
    Cdlg_login dialog(services_, server_list_host, server_list_port);
    dialog.do_modal();
}
