#pragma once
#include <windows.h>

// The system's wait cursor, and the cursor it replaced put back afterwards.
class Cwin32_wait_cursor {
  public:
    void begin() { before_ = SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT))); }
    void end() { SetCursor(before_); }

  private:
    HCURSOR before_ = nullptr;
};
