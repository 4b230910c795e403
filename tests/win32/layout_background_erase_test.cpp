#include "win32/layout_login_dialog_harness.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "layout/login_panes.h"

namespace {

namespace ids = login_controls;
constexpr std::uint32_t sentinel = 0x123456;

// A 32-bit top-down picture of the dialog's client area to erase into.
class Cclient_picture {
  public:
    explicit Cclient_picture(const RECT& client) : width_(client.right), height_(client.bottom) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        pixels_ = static_cast<std::uint32_t*>(bits);
        old_ = SelectObject(dc_, bitmap_);
        std::fill(pixels_, pixels_ + width_ * height_, sentinel);
    }
    ~Cclient_picture() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Cclient_picture(const Cclient_picture&) = delete;
    Cclient_picture& operator=(const Cclient_picture&) = delete;

    HDC dc() const { return dc_; }
    std::uint32_t at(POINT p) const {
        GdiFlush();
        return pixels_[p.y * width_ + p.x];
    }

  private:
    LONG width_;
    LONG height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    std::uint32_t* pixels_ = nullptr;
};

// A colour as a 32-bit picture holds it.
std::uint32_t as_pixel(COLORREF c) {
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

POINT centre(const RECT& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST(login_dialog_background, erase_paints_around_the_controls_and_spares_the_size_grip) {
    Clogin_dialog_on_thread dialog;
    const RECT client = dialog.client();
    const RECT transcript = dialog.placed(dialog.control(ids::transcript));
    const RECT game = dialog.placed(dialog.control(ids::game));
    const RECT nick = dialog.placed(dialog.control(ids::nick));
    const RECT ok = dialog.placed(dialog.control(ids::ok));
    const RECT bar = dialog.placed(dialog.control(59393));
    const LONG grip = bar.bottom - bar.top;

    // Where the transcript stood, hidden now: a group box and a tab control with one tab.
    const RECT group{transcript.left + 10, transcript.top + 10, transcript.left + 150,
                     transcript.top + 110};
    const RECT tab{transcript.left + 200, transcript.top + 10, transcript.left + 400,
                   transcript.top + 210};
    RECT tab_display = tab;
    RECT tab_header{};
    dialog.on_dialog_thread([&] {
        ShowWindow(dialog.control(ids::transcript), SW_HIDE);
        CreateWindowExA(0, "Button", "Group", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, group.left,
                        group.top, group.right - group.left, group.bottom - group.top,
                        dialog.hwnd(), nullptr, nullptr, nullptr);
        HWND tabs = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE, tab.left, tab.top,
                                    tab.right - tab.left, tab.bottom - tab.top, dialog.hwnd(),
                                    nullptr, nullptr, nullptr);
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>("Tab");
        SendMessageA(tabs, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&tab_display));
        SendMessageA(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab_header));
        OffsetRect(&tab_header, tab.left, tab.top);
    });
    ASSERT_GT(tab_display.top, tab.top);

    Cclient_picture picture(client);
    EXPECT_NE(SendMessageA(dialog.hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(picture.dc()), 0),
              0);

    const std::uint32_t background = as_pixel(GetSysColor(COLOR_BTNFACE));
    ASSERT_NE(background, sentinel);
    struct sample {
        const char* where;
        POINT point;
        bool erased;
    };
    const std::vector<sample> samples = {
        {"inside the game list", centre(game), false},
        {"inside the nick list", centre(nick), false},
        {"inside the check box", centre(dialog.placed(dialog.control(ids::reset_passwords))),
         false},
        {"inside OK", centre(ok), false},
        {"inside the grip triangle", {bar.right - 2, bar.bottom - 2}, false},
        {"on a tab", centre(tab_header), false},
        {"on the tab control's frame", {tab.left, centre(tab_display).y}, false},
        {"inside the tab control's display area", centre(tab_display), true},
        {"inside the group box", centre(group), true},
        {"where the hidden transcript is", {transcript.left + 5, transcript.bottom - 30}, true},
        {"in the status bar, left of the grip", {bar.left + 10, centre(bar).y}, true},
        {"in the grip's square, above the triangle", {bar.right - grip + 2, bar.top + 2}, true},
        {"in the border", {2, 2}, true},
        {"between the lists and OK", {ok.left - 3, centre(ok).y}, true},
        {"between the two lists", {centre(game).x, game.bottom + 2}, true},
    };
    for (const sample& s : samples) {
        EXPECT_EQ(picture.at(s.point), s.erased ? background : sentinel)
            << s.where << " at (" << s.point.x << ", " << s.point.y << ")";
    }
}

}  // namespace
