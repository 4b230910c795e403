#pragma once
#include <string>

// The few things the program asks of the desktop. Failures are silent: nothing is reported.
void open_in_text_editor(const std::string& path);
void open_web_page(const std::string& address);
void sleep_milliseconds(unsigned milliseconds);
