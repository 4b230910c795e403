#pragma once
// Drives the program's modal dialogs from a test: the dialog runs on a UI thread of its own, as
// in the program, and the test thread reads and pokes its controls through window messages.
//
// SendMessage to the UI thread returns only when the dialog has handled the message: use it for
// reads and for commands that open nothing. A command that may open a modal window (a message
// box, the login dialog) must be posted, or the test thread would wait for that window to close.
#include <windows.h>

#include "fixtures/wait_until.h"
#include "win32/application.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

// How long a test waits for a window or a state before it fails.
inline constexpr std::chrono::milliseconds gui_patience = std::chrono::seconds(10);

// Waits as fixtures/wait_until.h does, with the GUI tests' patience.
inline bool wait_until(const std::function<bool()>& condition) {
    return wait_until(condition, gui_patience);
}

// Runs `body` as the program's application initialisation on a new UI thread: inside it the
// application's `main_window` gives dialogs without a parent their owner, as in the program.
class Cdialog_driver {
  public:
    explicit Cdialog_driver(std::function<void(Capplication&)> body);
    // Closes whatever the UI thread still shows and waits for it to end.
    ~Cdialog_driver();
    Cdialog_driver(const Cdialog_driver&) = delete;
    Cdialog_driver& operator=(const Cdialog_driver&) = delete;

    // The UI thread's visible top-level window with this caption, once one shows; nullptr when
    // none showed within the patience.
    HWND wait_for_window(const std::string& caption) const;
    // The UI thread's visible top-level windows.
    std::vector<HWND> windows() const;
    // True once `body` has returned.
    bool finished() const { return finished_; }

  private:
    void close_everything();

    std::atomic<DWORD> thread_id_{0};
    std::atomic<bool> finished_{false};
    std::thread thread_;
};

// Returns once the window's thread has handled every message sent or posted to it before: it is
// back in a message loop (its dialog's own, or that of a message box it opened). False when it
// did not get there within the patience.
bool settle(HWND window);

// A command as a button click sends it (notification 0). `send_command` returns after the
// handler, false when the handler had not ended within the patience; `post_command` at once.
bool send_command(HWND dialog, int id);
void post_command(HWND dialog, int id);
// A window-menu choice (WM_SYSCOMMAND), as the menu sends it; the same two ways.
bool send_system_command(HWND window, UINT id);
void post_system_command(HWND window, UINT id);

// Clicks the middle of a window with the mouse, as a user would: the input goes wherever the
// system routes it, so a disabled window does not get it.
void click(HWND window);

std::string window_text(HWND window);
// The width a control's label takes in the control's own font, its mnemonic mark not counted.
LONG label_width(HWND control);
std::string item_text(HWND dialog, int id);

// An IP-address control's value (first field in the highest byte) and how many of its four
// fields hold a number.
struct ip_address_state {
    std::uint32_t value = 0;
    int filled_fields = 0;
};
ip_address_state ip_address(HWND dialog, int id);
void set_ip_address(HWND dialog, int id, std::uint32_t value);
void clear_ip_address(HWND dialog, int id);

struct combo_entry {
    std::string text;
    LRESULT item_data = 0;
    bool operator==(const combo_entry& other) const {
        return text == other.text && item_data == other.item_data;
    }
};
std::vector<combo_entry> combo_entries(HWND dialog, int id);
// The selected entry's index, or CB_ERR.
int combo_selection(HWND dialog, int id);
void select_combo_entry(HWND dialog, int id, int index);

int check_state(HWND dialog, int id);
void set_check_state(HWND dialog, int id, int state);

// Message boxes of this process: unowned dialogs (class "#32770") that hold a text, whatever
// thread shows them.
std::vector<HWND> message_boxes();
// A message box's text, not its caption.
std::string message_box_text(HWND box);
// The icon a message box shows, or nullptr.
HICON message_box_icon(HWND box);
// Presses the box's OK button; returns at once.
void close_message_box(HWND box);
