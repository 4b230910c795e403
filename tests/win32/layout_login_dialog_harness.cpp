#include "win32/layout_login_dialog_harness.h"

#include <commctrl.h>

#include <atomic>
#include <chrono>
#include <ostream>
#include <stdexcept>
#include <string>

#include "login/fake_login_services.h"
#include "win32/login_dialog.h"

namespace {

// Asks the dialog's thread to run a function; lparam points to the function.
constexpr UINT run_on_dialog_thread = WM_APP + 1;

// The login dialog with one message more, so that a test can act on the dialog's own thread
// (create controls there, paint there).
class Cdriven_login_dialog : public Cdlg_login {
  public:
    Cdriven_login_dialog(Clogin_services& services, bool with_grip)
        : Cdlg_login(services, "127.0.0.1", 4005) {
        hasGrip = with_grip;
    }

  protected:
    bool on_message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override {
        if (message == run_on_dialog_thread) {
            (*reinterpret_cast<const std::function<void()>*>(lparam))();
            return true;
        }
        return Cdlg_login::on_message(message, wparam, lparam, result);
    }
};

BOOL CALLBACK take_visible_dialog(HWND window, LPARAM found) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) == "#32770" && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

struct Clogin_dialog_on_thread::dialog_run {
    dialog_run() {
        // Something in the lists, as a player would see them.
        services.registry.add_key(registry_root::local_machine, "Software\\Westwood\\Renegade");
        services.registry.add_key(registry_root::local_machine, "Software\\Westwood\\Nox");
        services.registry.add_account(1, "alpha", "12345678");
    }
    fake_login_services services;
    std::atomic<DWORD> thread_id{0};
};

Clogin_dialog_on_thread::Clogin_dialog_on_thread(bool with_grip)
    : run_(std::make_shared<dialog_run>()) {
    INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX),
                                 ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&classes);
    thread_ = std::thread([run = run_, with_grip] {
        run->thread_id = GetCurrentThreadId();
        Cdriven_login_dialog dialog(run->services, with_grip);
        dialog.do_modal();
    });
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (hwnd_ == nullptr && std::chrono::steady_clock::now() < give_up) {
        Sleep(10);
        if (run_->thread_id != 0) {
            EnumThreadWindows(run_->thread_id, take_visible_dialog,
                              reinterpret_cast<LPARAM>(&hwnd_));
        }
    }
    if (hwnd_ == nullptr) {
        thread_.detach();  // it holds what it uses
        throw std::runtime_error("the login dialog did not open");
    }
}

Clogin_dialog_on_thread::~Clogin_dialog_on_thread() {
    PostMessageA(hwnd_, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    thread_.join();
}

RECT Clogin_dialog_on_thread::client() const {
    RECT r;
    GetClientRect(hwnd_, &r);
    return r;
}

RECT Clogin_dialog_on_thread::window() const {
    RECT r;
    GetWindowRect(hwnd_, &r);
    return r;
}

RECT Clogin_dialog_on_thread::placed(HWND control) const {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, hwnd_, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

SIZE Clogin_dialog_on_thread::pixels(int width_units, int height_units) const {
    RECT r{0, 0, width_units, height_units};
    on_dialog_thread([&] { MapDialogRect(hwnd_, &r); });
    return {r.right, r.bottom};
}

void Clogin_dialog_on_thread::resize(int width, int height) const {
    SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
}

void Clogin_dialog_on_thread::on_dialog_thread(const std::function<void()>& work) const {
    SendMessageA(hwnd_, run_on_dialog_thread, 0, reinterpret_cast<LPARAM>(&work));
}

bool operator==(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}

void PrintTo(const RECT& r, std::ostream* out) {
    *out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
