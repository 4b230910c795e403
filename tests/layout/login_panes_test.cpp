#include "layout/login_panes.h"

#include <gtest/gtest.h>

#include <string>

#include "layout/fake_layout_dialog.h"

namespace {

using M = VaqLayoutMgr;

// The login dialog's controls at their template sizes, at placeholder positions; client
// area 500 by 400 in a frame 16 wider and 39 higher, status bar 20 high.
class login_panes : public testing::Test {
  protected:
    fake_layout_window win;
    fake_layout_dialog dlg{win};

    void SetUp() override {
        win.add(login_controls::game, {7, 7, 82, 28}, "ComboBox", 0x50210003u);
        win.add(login_controls::nick, {7, 30, 82, 51}, "ComboBox", 0x50210002u);
        win.add(login_controls::reset_passwords, {7, 53, 69, 69}, "Button", 0x50010003u);
        win.add(login_controls::ok, {100, 7, 175, 30}, "Button", 0x50010001u);
        win.add(login_controls::transcript, {7, 80, 82, 121}, "Edit", 0x50a11844u);
        win.add(59393, {0, 380, 500, 400}, "msctls_statusbar32", 0x50000100u);
    }
};

TEST_F(login_panes, worked_example_places_every_control_to_the_pixel) {
    build_login_panes(dlg);

    EXPECT_EQ(dlg.layoutArea(), (layout_rect{0, 0, 500, 390}));
    EXPECT_EQ(dlg.lastRootRect, (layout_rect{5, 5, 495, 385}));
    ASSERT_TRUE(dlg.root);
    ASSERT_EQ(dlg.root.pane()->items.size(), 2u);
    EXPECT_EQ(dlg.root.pane()->items[0].pane()->fixedSize, 68);

    EXPECT_EQ(win.placed(login_controls::game), (layout_rect{5, 5, 415, 26}));
    EXPECT_EQ(win.placed(login_controls::nick), (layout_rect{5, 31, 415, 52}));
    EXPECT_EQ(win.placed(login_controls::reset_passwords), (layout_rect{5, 57, 415, 73}));
    EXPECT_EQ(win.placed(login_controls::ok), (layout_rect{420, 5, 495, 28}));
    EXPECT_EQ(win.placed(login_controls::transcript), (layout_rect{5, 78, 495, 385}));

    EXPECT_EQ(dlg.root->minWidth(), 155);
    EXPECT_EQ(dlg.root->minHeight(), 114);
    const std::optional<frame_limits> lim = tracking_limits(dlg);
    ASSERT_TRUE(lim);
    EXPECT_EQ(lim->min_width, 155 + 10 + 16);
    EXPECT_EQ(lim->min_height, 114 + 10 + (439 - 390));
    EXPECT_EQ(lim->max_width, -1);
    EXPECT_EQ(lim->max_height, -1);
    EXPECT_EQ(win.client.width, 500) << "the dialog was within its limits";
    EXPECT_EQ(win.client.height, 400);
}

struct resize_case {
    std::string name;
    layout_size client;
    bool statusBar;
    layout_rect game, nick, reset, ok, transcript;
};

std::ostream& operator<<(std::ostream& os, const resize_case& c) {
    return os << c.name;
}

class login_panes_resized : public login_panes, public testing::WithParamInterface<resize_case> {};

TEST_P(login_panes_resized, move_only_what_follows_the_size) {
    const resize_case& c = GetParam();
    if (!c.statusBar) {
        dlg.statusBarHeight.reset();
    }
    build_login_panes(dlg);
    win.move_window(win.frameFor(c.client.width, c.client.height));

    EXPECT_EQ(win.placed(login_controls::game), c.game);
    EXPECT_EQ(win.placed(login_controls::nick), c.nick);
    EXPECT_EQ(win.placed(login_controls::reset_passwords), c.reset);
    EXPECT_EQ(win.placed(login_controls::ok), c.ok);
    EXPECT_EQ(win.placed(login_controls::transcript), c.transcript);
}

INSTANTIATE_TEST_SUITE_P(sizes, login_panes_resized,
                         testing::Values(resize_case{"wider",
                                                     {700, 400},
                                                     true,
                                                     {5, 5, 615, 26},
                                                     {5, 31, 615, 52},
                                                     {5, 57, 615, 73},
                                                     {620, 5, 695, 28},
                                                     {5, 78, 695, 385}},
                                         resize_case{"narrower",
                                                     {300, 400},
                                                     true,
                                                     {5, 5, 215, 26},
                                                     {5, 31, 215, 52},
                                                     {5, 57, 215, 73},
                                                     {220, 5, 295, 28},
                                                     {5, 78, 295, 385}},
                                         resize_case{"taller",
                                                     {500, 600},
                                                     true,
                                                     {5, 5, 415, 26},
                                                     {5, 31, 415, 52},
                                                     {5, 57, 415, 73},
                                                     {420, 5, 495, 28},
                                                     {5, 78, 495, 585}},
                                         resize_case{"shorter",
                                                     {500, 250},
                                                     true,
                                                     {5, 5, 415, 26},
                                                     {5, 31, 415, 52},
                                                     {5, 57, 415, 73},
                                                     {420, 5, 495, 28},
                                                     {5, 78, 495, 235}},
                                         resize_case{"below_the_minimum_grows_to_it",
                                                     {100, 100},
                                                     true,
                                                     {5, 5, 80, 26},
                                                     {5, 31, 80, 52},
                                                     {5, 57, 80, 73},
                                                     {85, 5, 160, 28},
                                                     {5, 78, 160, 119}},
                                         resize_case{
                                             "without_status_bar_ends_five_above_the_client_bottom",
                                             {500, 400},
                                             false,
                                             {5, 5, 415, 26},
                                             {5, 31, 415, 52},
                                             {5, 57, 415, 73},
                                             {420, 5, 495, 28},
                                             {5, 78, 495, 395}}));

TEST_F(login_panes, grown_to_its_minimum_the_dialog_fits_exactly) {
    build_login_panes(dlg);
    win.move_window(win.frameFor(100, 100));
    EXPECT_EQ(win.client.width, 165);
    EXPECT_EQ(win.client.height, 134);
    EXPECT_EQ(dlg.lastRootRect, (layout_rect{5, 5, 160, 119}));
}

TEST_F(login_panes, are_made_for_whatever_controls_exist) {
    fake_layout_window bare;
    fake_layout_dialog empty{bare};
    build_login_panes(empty);
    ASSERT_TRUE(empty.root);
    EXPECT_TRUE(bare.moves.empty());
    // Each missing item still counts 5 in the upper row, the missing OK button among them.
    EXPECT_EQ(empty.root->minWidth(), 5 + 5 + 5);
}

}  // namespace
