#include "win32/layout_login_dialog_harness.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "layout/login_panes.h"

namespace {

namespace ids = login_controls;
constexpr int status_bar_id = 59393;

LONG width(const RECT& r) {
    return r.right - r.left;
}
LONG height(const RECT& r) {
    return r.bottom - r.top;
}

// The sizes the panes start from: the template's, converted for the dialog's font; a combo
// box's height is its closed height.
struct template_sizes {
    SIZE combo;
    SIZE check;
    SIZE ok;
    SIZE transcript;
};

struct login_rects {
    RECT game, nick, reset, ok, transcript;
};

// Where the panes put the controls in a client area, worked out by hand: 5 pixels in from the
// edges, the upper row holds the two lists and the check box stacked at their own heights with
// gaps of 5, and OK at its own size in the top right corner; the transcript fills the rest down
// to 5 pixels below the status bar's top, or 5 pixels above the bottom without a bar.
login_rects expected_rects(const RECT& client, LONG bar_height, const template_sizes& s) {
    const LONG right = client.right - 5;
    const LONG bottom = bar_height > 0 ? client.bottom - bar_height + 5 : client.bottom - 5;
    const LONG lists_right = right - s.ok.cx - 5;
    const LONG upper_row = std::max(2 * s.combo.cy + s.check.cy + 10, s.ok.cy);
    login_rects r;
    r.game = {5, 5, lists_right, 5 + s.combo.cy};
    r.nick = {5, r.game.bottom + 5, lists_right, r.game.bottom + 5 + s.combo.cy};
    r.reset = {5, r.nick.bottom + 5, lists_right, r.nick.bottom + 5 + s.check.cy};
    r.ok = {right - s.ok.cx, 5, right, 5 + s.ok.cy};
    r.transcript = {5, 5 + upper_row + 5, right, bottom};
    return r;
}

class login_dialog_layout : public testing::Test {
  protected:
    explicit login_dialog_layout(bool with_grip = true) : dialog(with_grip) {
        sizes.combo = {template_size(ids::game).cx, height(place(ids::game))};
        sizes.check = template_size(ids::reset_passwords);
        sizes.ok = template_size(ids::ok);
        sizes.transcript = template_size(ids::transcript);
    }

    RECT place(int id) const { return dialog.placed(dialog.control(id)); }
    SIZE template_size(int id) const {
        const dialog_control_template& control = *find_control(login_dialog_template, id);
        return dialog.pixels(control.cx, control.cy);
    }
    login_rects placed() const {
        return {place(ids::game), place(ids::nick), place(ids::reset_passwords), place(ids::ok),
                place(ids::transcript)};
    }
    LONG bar_height() const {
        HWND bar = dialog.control(status_bar_id);
        return bar == nullptr ? 0 : height(dialog.placed(bar));
    }
    void expect_panes_fill_client() const {
        const login_rects want = expected_rects(dialog.client(), bar_height(), sizes);
        const login_rects got = placed();
        EXPECT_EQ(got.game, want.game);
        EXPECT_EQ(got.nick, want.nick);
        EXPECT_EQ(got.reset, want.reset);
        EXPECT_EQ(got.ok, want.ok);
        EXPECT_EQ(got.transcript, want.transcript);
    }
    // Grows (or shrinks) the dialog's outer size by this much.
    void grow(int dx, int dy) const {
        const RECT w = dialog.window();
        dialog.resize(width(w) + dx, height(w) + dy);
    }

    Clogin_dialog_on_thread dialog;
    template_sizes sizes{};
};

TEST_F(login_dialog_layout, opens_with_every_control_where_the_panes_put_it) {
    // The upper row's height comes from the stacked lists, not from OK.
    ASSERT_GE(2 * sizes.combo.cy + sizes.check.cy + 10, sizes.ok.cy);
    expect_panes_fill_client();
}

TEST_F(login_dialog_layout, status_bar_with_grip_spans_the_bottom_below_the_transcript) {
    // Resizable, and the client area is what the resizable frame leaves of the window.
    const DWORD style = static_cast<DWORD>(GetWindowLongA(dialog.hwnd(), GWL_STYLE));
    EXPECT_NE(style & WS_THICKFRAME, 0u);
    RECT framed = dialog.client();
    AdjustWindowRectEx(&framed, style, FALSE,
                       static_cast<DWORD>(GetWindowLongA(dialog.hwnd(), GWL_EXSTYLE)));
    EXPECT_EQ(width(framed), width(dialog.window()));
    EXPECT_EQ(height(framed), height(dialog.window()));

    HWND bar = dialog.control(status_bar_id);
    ASSERT_NE(bar, nullptr);
    char name[64] = {};
    GetClassNameA(bar, name, sizeof name);
    EXPECT_STREQ(name, STATUSCLASSNAMEA);
    const LONG bar_style = GetWindowLongA(bar, GWL_STYLE);
    EXPECT_NE(bar_style & SBARS_SIZEGRIP, 0);
    EXPECT_NE(bar_style & WS_VISIBLE, 0);

    int edges[4] = {};
    EXPECT_EQ(SendMessageA(bar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 1);
    EXPECT_EQ(edges[0], -1);
    const LRESULT text = SendMessageA(bar, SB_GETTEXTLENGTHA, 0, 0);
    EXPECT_EQ(LOWORD(text), 0);
    EXPECT_NE(HIWORD(text) & SBT_NOBORDERS, 0);

    for (int grown : {0, 1}) {
        SCOPED_TRACE(grown ? "after growing" : "at opening");
        if (grown) {
            grow(120, 90);
        }
        const RECT client = dialog.client();
        const RECT at = dialog.placed(bar);
        EXPECT_EQ(at, (RECT{0, client.bottom - height(at), client.right, client.bottom}));
        EXPECT_EQ(place(ids::transcript).bottom, at.top + 5);
    }
}

TEST_F(login_dialog_layout, growing_taller_stretches_only_the_transcript) {
    const login_rects before = placed();
    const LONG client_height = height(dialog.client());
    grow(0, 150);
    const LONG taller = height(dialog.client()) - client_height;
    ASSERT_EQ(taller, 150);

    const login_rects after = placed();
    EXPECT_EQ(after.game, before.game);
    EXPECT_EQ(after.nick, before.nick);
    EXPECT_EQ(after.reset, before.reset);
    EXPECT_EQ(after.ok, before.ok);
    RECT transcript = before.transcript;
    transcript.bottom += taller;
    EXPECT_EQ(after.transcript, transcript);
    expect_panes_fill_client();
}

TEST_F(login_dialog_layout, growing_wider_stretches_the_lists_the_check_box_and_transcript) {
    RECT list_before;
    SendMessageA(dialog.control(ids::game), CB_GETDROPPEDCONTROLRECT, 0,
                 reinterpret_cast<LPARAM>(&list_before));
    const login_rects before = placed();
    grow(200, 0);
    const login_rects after = placed();

    for (auto member :
         {&login_rects::game, &login_rects::nick, &login_rects::reset, &login_rects::transcript}) {
        RECT wider = before.*member;
        wider.right += 200;
        EXPECT_EQ(after.*member, wider);
    }
    RECT ok = before.ok;
    OffsetRect(&ok, 200, 0);
    EXPECT_EQ(after.ok, ok);
    EXPECT_EQ(after.ok.right, dialog.client().right - 5);
    expect_panes_fill_client();

    // A drop-down list keeps its closed height in the layout and its list when dropped.
    RECT list_after;
    SendMessageA(dialog.control(ids::game), CB_GETDROPPEDCONTROLRECT, 0,
                 reinterpret_cast<LPARAM>(&list_after));
    EXPECT_EQ(height(list_after), height(list_before));
    EXPECT_GT(height(list_after), 4 * sizes.combo.cy);
}

TEST_F(login_dialog_layout, reports_the_smallest_size_at_which_the_panes_fit) {
    const RECT w = dialog.window();
    const RECT client = dialog.client();
    const LONG area_height = client.bottom - bar_height() + 10;  // the panes' area
    const LONG lists_width = std::max(sizes.combo.cx, sizes.check.cx);
    const LONG root_width = std::max(lists_width + 5 + sizes.ok.cx, sizes.transcript.cx);
    const LONG root_height = 2 * sizes.combo.cy + sizes.check.cy + 10 + 5 + sizes.transcript.cy;
    const LONG min_width = root_width + 10 + width(w) - client.right;
    const LONG min_height = root_height + 10 + height(w) - area_height;

    MINMAXINFO info{};
    info.ptMaxTrackSize = {4321, 4321};
    info.ptMaxSize = {1234, 1234};
    SendMessageA(dialog.hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, min_width);
    EXPECT_EQ(info.ptMinTrackSize.y, min_height);
    // The panes set no upper bound: the platform's maxima stay.
    EXPECT_EQ(info.ptMaxTrackSize.x, 4321);
    EXPECT_EQ(info.ptMaxTrackSize.y, 4321);
    EXPECT_EQ(info.ptMaxSize.x, 1234);

    // A dialog made smaller than that is held at it, with every control at its minimum.
    dialog.resize(50, 50);
    const RECT small = dialog.window();
    EXPECT_EQ(width(small), min_width);
    EXPECT_EQ(height(small), min_height);
    expect_panes_fill_client();
    EXPECT_EQ(width(place(ids::game)), lists_width);
    EXPECT_EQ(height(place(ids::transcript)), sizes.transcript.cy);
}

TEST_F(login_dialog_layout, minimising_moves_nothing_and_restoring_lays_out_again) {
    grow(60, 40);
    const login_rects before = placed();
    const RECT window_before = dialog.window();

    ShowWindow(dialog.hwnd(), SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(dialog.hwnd()));
    const login_rects minimised = placed();
    EXPECT_EQ(minimised.game, before.game);
    EXPECT_EQ(minimised.ok, before.ok);
    EXPECT_EQ(minimised.transcript, before.transcript);

    ShowWindow(dialog.hwnd(), SW_RESTORE);
    ASSERT_FALSE(IsIconic(dialog.hwnd()));
    const RECT window_after = dialog.window();
    EXPECT_EQ(width(window_after), width(window_before));
    EXPECT_EQ(height(window_after), height(window_before));
    expect_panes_fill_client();
}

class login_dialog_without_grip : public login_dialog_layout {
  protected:
    login_dialog_without_grip() : login_dialog_layout(false) {}
};

TEST_F(login_dialog_without_grip, transcript_ends_five_pixels_above_the_bottom) {
    EXPECT_EQ(dialog.control(status_bar_id), nullptr);
    EXPECT_EQ(place(ids::transcript).bottom, dialog.client().bottom - 5);
    grow(80, 80);
    expect_panes_fill_client();
}

}  // namespace
