#pragma once
#include <windows.h>

#include <cstdint>

// An IP-address control: four fields, held as one number with the first field in the highest
// byte.
class Cip_address_control {
  public:
    void attach(HWND control) { control_ = control; }
    HWND hwnd() const { return control_; }

    void set_address(std::uint32_t value);
    // Blank fields read as 0.
    std::uint32_t address() const;

  private:
    HWND control_ = nullptr;
};
