#include "win32/application.h"

#include <commctrl.h>

namespace {
Capplication* the_application = nullptr;
}

Capplication::Capplication() {
    the_application = this;
}

Capplication::~Capplication() {
    if (the_application == this) {
        the_application = nullptr;
    }
}

Capplication* Capplication::current() {
    return the_application;
}

int Capplication::run(HINSTANCE instance) {
    instance_ = instance;
    // The IP-address control and the status bar are common controls: register their classes
    // before the first dialog template that names them is loaded.
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                  ICC_STANDARD_CLASSES | ICC_INTERNET_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    if (!init_instance()) {
        return 0;
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
