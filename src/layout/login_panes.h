#pragma once
#include <cstdint>

#include "layout/vaq_layout_mgr.h"

// Control identifiers of the login dialog's template that its panes arrange.
namespace login_controls {
constexpr std::int32_t ok = 1;
constexpr std::int32_t game = 1006;
constexpr std::int32_t nick = 1007;
constexpr std::int32_t transcript = 1008;
constexpr std::int32_t reset_passwords = 1011;
}  // namespace login_controls

// Builds the login dialog's pane tree on its manager and lays it out: an upper row of fixed
// height (the game and nick combo boxes and the reset check box stacked on the left, the OK
// button at its own size on the right) above the transcript, which takes the rest. Call it
// once the controls exist at their template sizes, before any other layout.
void build_login_panes(VaqLayoutMgr& manager);
