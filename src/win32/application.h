#pragma once
#include <windows.h>

class Cdialog_window;

// The one application object of a dialog program: WinMain hands control to its initialisation,
// which runs the program; a FALSE result means there is no message loop to run afterwards.
class Capplication {
  public:
    Capplication();
    virtual ~Capplication();
    Capplication(const Capplication&) = delete;
    Capplication& operator=(const Capplication&) = delete;

    static Capplication* current();

    int run(HINSTANCE instance);
    HINSTANCE instance() const { return instance_; }

    // The window that owns dialogs made without a parent while it is open.
    Cdialog_window* main_window = nullptr;

  protected:
    virtual BOOL init_instance() = 0;

  private:
    HINSTANCE instance_ = nullptr;
};
