#pragma once
#include "layout/vaq_layout_mgr.h"
#include "login/login_dialog_template.h"

// Builds the login dialog's pane tree on its manager and lays it out: an upper row of fixed
// height (the game and nick combo boxes and the reset check box stacked on the left, the OK
// button at its own size on the right) above the transcript, which takes the rest. Call it
// once the controls exist at their template sizes, before any other layout.
void build_login_panes(VaqLayoutMgr& manager);
