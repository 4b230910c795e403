#include "app/desktop.h"

#include <windows.h>
#include <shellapi.h>

void open_in_text_editor(const std::string& path) {
    ShellExecuteA(nullptr, nullptr, "notepad", path.c_str(), nullptr, SW_SHOW);
}

void open_web_page(const std::string& address) {
    ShellExecuteA(nullptr, nullptr, address.c_str(), nullptr, nullptr, SW_SHOW);
}

void sleep_milliseconds(unsigned milliseconds) {
    Sleep(milliseconds);
}
