#include "win32/ip_address_control.h"

#include <commctrl.h>

void Cip_address_control::set_address(std::uint32_t value) {
    SendMessageA(control_, IPM_SETADDRESS, 0, static_cast<LPARAM>(value));
}

std::uint32_t Cip_address_control::address() const {
    DWORD value = 0;
    SendMessageA(control_, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&value));
    return value;
}
