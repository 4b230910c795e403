#include "dialog_driver.h"

#include <commctrl.h>

#include <utility>

namespace {

// The application object a driven dialog runs under, so that dialogs without a parent find
// their owner as they do in the program.
class Cdriven_application : public Capplication {
  public:
    explicit Cdriven_application(const std::function<void(Capplication&)>& body) : body_(body) {}

  protected:
    BOOL init_instance() override {
        body_(*this);
        return FALSE;
    }

  private:
    const std::function<void(Capplication&)>& body_;
};

BOOL CALLBACK collect_window(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::string class_name(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::vector<HWND> children(HWND window) {
    std::vector<HWND> list;
    EnumChildWindows(window, collect_window, reinterpret_cast<LPARAM>(&list));
    return list;
}

bool is_icon_static(HWND control) {
    return (GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

LRESULT send_to_item(HWND dialog, int id, UINT message, WPARAM wparam, LPARAM lparam) {
    return SendMessageA(GetDlgItem(dialog, id), message, wparam, lparam);
}

bool send_patiently(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, message, wparam, lparam, SMTO_NORMAL,
                               static_cast<UINT>(gui_patience.count()), &result) != 0;
}

}  // namespace

Cdialog_driver::Cdialog_driver(std::function<void(Capplication&)> body) {
    thread_ = std::thread([this, body = std::move(body)] {
        thread_id_ = GetCurrentThreadId();
        Cdriven_application application(body);
        application.run(GetModuleHandleA(nullptr));
        finished_ = true;
    });
    wait_until([this] { return thread_id_ != 0; });
}

Cdialog_driver::~Cdialog_driver() {
    close_everything();
    thread_.join();
}

void Cdialog_driver::close_everything() {
    // Only the innermost modal window takes input: closing it lets the one below end next.
    wait_until(
        [this] {
            if (finished_) {
                return true;
            }
            for (HWND window : windows()) {
                if (IsWindowEnabled(window)) {
                    PostMessageA(window, WM_CLOSE, 0, 0);
                }
            }
            Sleep(50);
            return static_cast<bool>(finished_);
        },
        3 * gui_patience);
}

std::vector<HWND> Cdialog_driver::windows() const {
    std::vector<HWND> list;
    EnumThreadWindows(thread_id_, collect_window, reinterpret_cast<LPARAM>(&list));
    std::vector<HWND> visible;
    for (HWND window : list) {
        if (IsWindowVisible(window)) {
            visible.push_back(window);
        }
    }
    return visible;
}

HWND Cdialog_driver::wait_for_window(const std::string& caption) const {
    HWND found = nullptr;
    wait_until([&] {
        for (HWND window : windows()) {
            if (window_text(window) == caption) {
                found = window;
                return true;
            }
        }
        return false;
    });
    return found;
}

bool settle(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL,
                               static_cast<UINT>(gui_patience.count()), &result) != 0;
}

bool send_command(HWND dialog, int id) {
    return send_patiently(dialog, WM_COMMAND, MAKEWPARAM(id, 0),
                          reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void post_command(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, 0),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool send_system_command(HWND window, UINT id) {
    return send_patiently(window, WM_SYSCOMMAND, id, 0);
}

void post_system_command(HWND window, UINT id) {
    PostMessageA(window, WM_SYSCOMMAND, id, 0);
}

void click(HWND window) {
    RECT area;
    GetWindowRect(window, &area);
    // Absolute mouse positions run from 0 to 65535 across the screen.
    const auto scale = [](LONG position, int metric) {
        return static_cast<LONG>(position * 65535LL / (GetSystemMetrics(metric) - 1));
    };
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = scale((area.left + area.right) / 2, SM_CXSCREEN);
        input.mi.dy = scale((area.top + area.bottom) / 2, SM_CYSCREEN);
        // Every event says where it happens: a pointer motion from the display that comes in
        // between must not move the press elsewhere.
        input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    }
    inputs[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    SendInput(3, inputs, sizeof(INPUT));
}

std::string window_text(HWND window) {
    std::string text(static_cast<std::size_t>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0)), '\0');
    const LRESULT length =
        SendMessageA(window, WM_GETTEXT, text.size() + 1, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

LONG label_width(HWND control) {
    const std::string text = window_text(control);
    HDC context = GetDC(control);
    const HGDIOBJ old_font =
        SelectObject(context, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    RECT extent{};
    DrawTextA(context, text.c_str(), -1, &extent, DT_SINGLELINE | DT_CALCRECT);
    SelectObject(context, old_font);
    ReleaseDC(control, context);
    return extent.right - extent.left;
}

std::string item_text(HWND dialog, int id) {
    return window_text(GetDlgItem(dialog, id));
}

ip_address_state ip_address(HWND dialog, int id) {
    DWORD value = 0;
    const LRESULT filled =
        send_to_item(dialog, id, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&value));
    return {value, static_cast<int>(filled)};
}

void set_ip_address(HWND dialog, int id, std::uint32_t value) {
    send_to_item(dialog, id, IPM_SETADDRESS, 0, static_cast<LPARAM>(value));
}

void clear_ip_address(HWND dialog, int id) {
    send_to_item(dialog, id, IPM_CLEARADDRESS, 0, 0);
}

std::vector<combo_entry> combo_entries(HWND dialog, int id) {
    std::vector<combo_entry> entries;
    const LRESULT count = send_to_item(dialog, id, CB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        const auto entry = static_cast<WPARAM>(index);
        std::string text(
            static_cast<std::size_t>(send_to_item(dialog, id, CB_GETLBTEXTLEN, entry, 0)), '\0');
        send_to_item(dialog, id, CB_GETLBTEXT, entry, reinterpret_cast<LPARAM>(&text[0]));
        text = text.c_str();
        entries.push_back({text, send_to_item(dialog, id, CB_GETITEMDATA, entry, 0)});
    }
    return entries;
}

int combo_selection(HWND dialog, int id) {
    return static_cast<int>(send_to_item(dialog, id, CB_GETCURSEL, 0, 0));
}

void select_combo_entry(HWND dialog, int id, int index) {
    send_to_item(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int check_state(HWND dialog, int id) {
    return static_cast<int>(send_to_item(dialog, id, BM_GETCHECK, 0, 0));
}

void set_check_state(HWND dialog, int id, int state) {
    send_to_item(dialog, id, BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

std::vector<HWND> message_boxes() {
    std::vector<HWND> top_level;
    EnumWindows(collect_window, reinterpret_cast<LPARAM>(&top_level));
    std::vector<HWND> boxes;
    for (HWND window : top_level) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId() && class_name(window) == "#32770" &&
            GetWindow(window, GW_OWNER) == nullptr && !message_box_text(window).empty()) {
            boxes.push_back(window);
        }
    }
    return boxes;
}

std::string message_box_text(HWND box) {
    for (HWND control : children(box)) {
        if (class_name(control) == "Static" && !is_icon_static(control)) {
            std::string text = window_text(control);
            if (!text.empty()) {
                return text;
            }
        }
    }
    return {};
}

HICON message_box_icon(HWND box) {
    for (HWND control : children(box)) {
        if (class_name(control) == "Static" && is_icon_static(control)) {
            return reinterpret_cast<HICON>(SendMessageA(control, STM_GETICON, 0, 0));
        }
    }
    return nullptr;
}

void close_message_box(HWND box) {
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
}
