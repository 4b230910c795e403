#pragma once
// Driving a real Windows program from another process: starting it, finding its windows and
// reading its controls through window messages, each wait bounded by a deadline.
#include <windows.h>

#include "fixtures/wait_until.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// A program started for a test, in its own directory. One still running when the test lets go
// of it is ended, so that no test leaves a window behind for the next.
class Cstarted_program {
  public:
    explicit Cstarted_program(const std::wstring& path);
    ~Cstarted_program();
    Cstarted_program(const Cstarted_program&) = delete;
    Cstarted_program& operator=(const Cstarted_program&) = delete;

    bool started() const { return process_.hProcess != nullptr; }
    DWORD id() const { return process_.dwProcessId; }
    // The exit code once the program has ended, or nothing when it still runs after `limit`.
    std::optional<DWORD> exit_code_within(std::chrono::milliseconds limit);

  private:
    PROCESS_INFORMATION process_{};
};

// The top-level window of process `process_id` with exactly `title`, once it is visible; null
// when none appears within `limit`.
HWND find_window(DWORD process_id, const std::wstring& title, std::chrono::milliseconds limit);

// A window's text in the ANSI code page, or nothing when its thread is too busy to answer (a
// dialog running a blocking command).
std::optional<std::string> window_text(HWND window);

// What an IP-address control shows: its four fields, left to right, joined by dots.
std::string shown_address(HWND control);

// The entries of a combo box, in list order.
std::vector<std::string> combo_entries(HWND combo);
