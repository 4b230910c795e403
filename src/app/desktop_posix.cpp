#include "app/desktop.h"

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace {

// Hands `target` to the desktop's opener, which picks the user's text editor or browser. The
// opener may run as long as what it opens: it is started from a short-lived middle process,
// so that it is nobody's child here and the program need not wait for it.
void open_with_desktop(const std::string& target) {
    const pid_t middle = fork();
    if (middle < 0) {
        return;
    }
    if (middle == 0) {
        if (fork() == 0) {
            execlp("xdg-open", "xdg-open", target.c_str(), static_cast<char*>(nullptr));
        }
        _exit(0);
    }
    int status = 0;
    waitpid(middle, &status, 0);
}

}  // namespace

void open_in_text_editor(const std::string& path) {
    open_with_desktop(path);
}

void open_web_page(const std::string& address) {
    open_with_desktop(address);
}

void sleep_milliseconds(unsigned milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
