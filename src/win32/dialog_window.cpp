#include "win32/dialog_window.h"

#include "win32/application.h"

#include <vector>

HWND Cdata_exchange::item(int control_id) {
    HWND control = dialog_.item(control_id);
    if (control == nullptr) {
        failed_ = true;
    }
    return control;
}

void Cdata_exchange::text(int control_id, std::string& value) {
    HWND control = item(control_id);
    if (control == nullptr) {
        return;
    }
    if (!save_and_validate_) {
        SetWindowTextA(control, value.c_str());
        return;
    }
    std::vector<char> buffer(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1);
    const int length = GetWindowTextA(control, buffer.data(), static_cast<int>(buffer.size()));
    value.assign(buffer.data(), static_cast<std::size_t>(length > 0 ? length : 0));
}

void Cdata_exchange::check(int control_id, int& value) {
    HWND control = item(control_id);
    if (control == nullptr) {
        return;
    }
    if (save_and_validate_) {
        value = static_cast<int>(SendMessageA(control, BM_GETCHECK, 0, 0));
    } else {
        SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
}

Cdialog_window::Cdialog_window(UINT template_id, HWND owner)
    : template_id_(template_id), owner_(owner) {}

Cdialog_window::~Cdialog_window() = default;

INT_PTR Cdialog_window::do_modal() {
    Capplication* application = Capplication::current();
    HWND owner = owner_;
    if (owner == nullptr && application != nullptr && application->main_window != nullptr &&
        application->main_window != this) {
        owner = application->main_window->hwnd();
    }
    HINSTANCE instance =
        application != nullptr ? application->instance() : GetModuleHandleA(nullptr);
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(template_id_), owner, dialog_procedure,
                           reinterpret_cast<LPARAM>(this));
}

void Cdialog_window::end_dialog(INT_PTR result) {
    EndDialog(hwnd_, result);
}

bool Cdialog_window::update_data(bool save_and_validate) {
    Cdata_exchange exchange(*this, save_and_validate);
    do_data_exchange(exchange);
    return !exchange.failed();
}

void Cdialog_window::do_data_exchange(Cdata_exchange&) {}

BOOL Cdialog_window::on_init_dialog() {
    update_data(false);
    return TRUE;
}

void Cdialog_window::on_ok() {
    if (update_data(true)) {
        end_dialog(IDOK);
    }
}

void Cdialog_window::on_cancel() {
    end_dialog(IDCANCEL);
}

bool Cdialog_window::on_command(WORD, WORD) {
    return false;
}

bool Cdialog_window::on_message(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

INT_PTR CALLBACK Cdialog_window::dialog_procedure(HWND window, UINT message, WPARAM wparam,
                                                  LPARAM lparam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<Cdialog_window*>(lparam);
        SetWindowLongPtrA(window, DWLP_USER, lparam);
        dialog->hwnd_ = window;
        const BOOL default_focus = dialog->on_init_dialog();
        dialog->centre_unless_positioned();
        return default_focus;
    }
    auto* dialog = reinterpret_cast<Cdialog_window*>(GetWindowLongPtrA(window, DWLP_USER));
    if (dialog == nullptr) {
        return FALSE;
    }
    const INT_PTR result = dialog->dispatch(message, wparam, lparam);
    if (message == WM_NCDESTROY) {
        dialog->hwnd_ = nullptr;
    }
    return result;
}

INT_PTR Cdialog_window::dispatch(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_COMMAND) {
        const WORD id = LOWORD(wparam);
        const WORD notification = HIWORD(wparam);
        if (on_command(id, notification)) {
            return TRUE;
        }
        if (notification == BN_CLICKED && id == IDOK) {
            on_ok();
            return TRUE;
        }
        if (notification == BN_CLICKED && id == IDCANCEL) {
            on_cancel();
            return TRUE;
        }
        return FALSE;
    }
    LRESULT result = 0;
    if (!on_message(message, wparam, lparam, result)) {
        return FALSE;
    }
    // These few messages take their result straight from the dialog procedure.
    switch (message) {
        case WM_QUERYDRAGICON:
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
        case WM_INITDIALOG:
            return static_cast<INT_PTR>(result);
        default:
            SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
            return TRUE;
    }
}

void Cdialog_window::centre_unless_positioned() {
    const LONG style = GetWindowLongA(hwnd_, GWL_STYLE);
    if ((style & (DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN)) != 0) {
        return;
    }
    RECT area;
    HWND owner = GetWindow(hwnd_, GW_OWNER);
    if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) {
        GetWindowRect(owner, &area);
    } else {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    RECT window;
    GetWindowRect(hwnd_, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    const int left = area.left + (area.right - area.left - width) / 2;
    const int top = area.top + (area.bottom - area.top - height) / 2;
    SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
