#pragma once
#include <windows.h>

#include <functional>
#include <iosfwd>
#include <memory>
#include <thread>

// The real login dialog, run modally on a thread of its own as the program runs it, for a test
// to drive from its own thread with window messages. The registry holds no game and no account.
class Clogin_dialog_on_thread {
  public:
    // Waits until the dialog is shown. Without a grip the dialog opens without its status bar.
    explicit Clogin_dialog_on_thread(bool with_grip = true);
    // Closes the dialog as Escape does and waits for its thread.
    ~Clogin_dialog_on_thread();
    Clogin_dialog_on_thread(const Clogin_dialog_on_thread&) = delete;
    Clogin_dialog_on_thread& operator=(const Clogin_dialog_on_thread&) = delete;

    HWND hwnd() const { return hwnd_; }
    HWND control(int id) const { return GetDlgItem(hwnd_, id); }
    RECT client() const;
    RECT window() const;
    // A control's window rectangle in the dialog's client coordinates.
    RECT placed(HWND control) const;
    // Dialog units of the template in pixels, as the dialog's font converts them.
    SIZE pixels(int width_units, int height_units) const;

    // Gives the dialog this outer size, keeping its top-left corner.
    void resize(int width, int height) const;
    // Runs `work` on the dialog's thread and returns when it is done.
    void on_dialog_thread(const std::function<void()>& work) const;

  private:
    struct dialog_run;
    std::shared_ptr<dialog_run> run_;  // shared with the dialog's thread
    std::thread thread_;
    HWND hwnd_ = nullptr;
};

bool operator==(const RECT& a, const RECT& b);
void PrintTo(const RECT& r, std::ostream* out);
