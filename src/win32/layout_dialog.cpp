#include "win32/layout_dialog.h"

#include "layout/layout_dialog_rules.h"
#include "win32/res/resource_ids.h"

#include <commctrl.h>
#include <windowsx.h>

#include <vector>

namespace {

// Owns one region handle.
class Cregion {
  public:
    explicit Cregion(HRGN region) : region_(region) {}
    ~Cregion() { DeleteObject(region_); }
    Cregion(const Cregion&) = delete;
    Cregion& operator=(const Cregion&) = delete;
    HRGN get() const { return region_; }

  private:
    HRGN region_;
};

HRGN rect_region(const layout_rect& r) {
    return CreateRectRgn(r.left, r.top, r.right, r.bottom);
}

// The region a cut keeps from the background erase.
HRGN cut_region(const erase_cut& cut) {
    switch (cut.shape) {
        case erase_cut::frame: {
            HRGN frame = rect_region(cut.rect);
            const Cregion inner(rect_region(cut.inner));
            CombineRgn(frame, frame, inner.get(), RGN_DIFF);
            return frame;
        }
        case erase_cut::triangle: {
            POINT corners[3];
            for (int i = 0; i < 3; ++i) {
                corners[i] = {cut.corners[i].x, cut.corners[i].y};
            }
            return CreatePolygonRgn(corners, 3, WINDING);
        }
        case erase_cut::rectangle:
            break;
    }
    return rect_region(cut.rect);
}

// A window class may name a system colour (its index + 1) instead of a brush; region filling
// takes only real brushes.
HBRUSH background_brush(HWND window) {
    const auto value = static_cast<ULONG_PTR>(GetClassLongPtrA(window, GCLP_HBRBACKGROUND));
    if (value == 0) {
        return GetSysColorBrush(COLOR_BTNFACE);
    }
    if (value <= COLOR_MENUBAR + 1) {
        return GetSysColorBrush(static_cast<int>(value - 1));
    }
    return reinterpret_cast<HBRUSH>(value);
}

}  // namespace

VaqLayoutDialog::VaqLayoutDialog(UINT template_id, HWND parent)
    : Cdialog_window(template_id, parent), VaqLayoutMgr(layoutWindow_) {}

layout_rect VaqLayoutDialog::layoutArea() {
    const layout_rect client = layoutWindow_.client_rect();
    if (!hasStatusBar()) {
        return dialog_layout_area(client, std::nullopt, rootBorder.height);
    }
    return dialog_layout_area(client, layoutWindow_.control_rect(statusBar).height(),
                              rootBorder.height);
}

BOOL VaqLayoutDialog::on_init_dialog() {
    Cdialog_window::on_init_dialog();
    layoutWindow_.attach(hwnd());
    // The template has a fixed frame; the user is to resize this dialog. The platform works
    // out the new, wider frame only when told to: until then the client area would be the old
    // one, under the frame's edge, and the size limits would be off by the difference.
    SetWindowLongA(hwnd(), GWL_STYLE, GetWindowLongA(hwnd(), GWL_STYLE) | WS_THICKFRAME);
    SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (hasGrip) {
        createStatusBar();
    }
    return TRUE;
}

bool VaqLayoutDialog::on_message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
    switch (message) {
        case WM_SIZE:
            onSize(wparam, lparam);
            return true;
        case WM_GETMINMAXINFO:
            onGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lparam));
            return true;
        case WM_ERASEBKGND:
            eraseBackground(reinterpret_cast<HDC>(wparam));
            result = 1;
            return true;
        case WM_DESTROY:
            // The tree names controls that are going away; the platform's handling follows.
            root.reset();
            return false;
        default:
            return Cdialog_window::on_message(message, wparam, lparam, result);
    }
}

void VaqLayoutDialog::createStatusBar() {
    // Made after WS_THICKFRAME was added: only then does the bar draw its size grip.
    statusBar = CreateWindowExA(
        0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, hwnd(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ID_STATUS_BAR)),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd(), GWLP_HINSTANCE)), nullptr);
    if (statusBar == nullptr) {
        MessageBoxA(hwnd(), "Error - Statusbar", nullptr, MB_OK);
        return;
    }
    int wholeBar = -1;
    SendMessageA(statusBar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&wholeBar));
    SendMessageA(statusBar, SB_SETTEXTA, 0 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(""));
    placeStatusBar();
}

bool VaqLayoutDialog::hasStatusBar() const {
    return hasGrip && statusBar != nullptr && IsWindow(statusBar);
}

void VaqLayoutDialog::placeStatusBar() {
    if (!hasStatusBar()) {
        return;
    }
    const layout_rect r = status_bar_place(layoutWindow_.client_rect(),
                                           layoutWindow_.control_rect(statusBar).height());
    MoveWindow(statusBar, r.left, r.top, r.width(), r.height(), TRUE);
}

void VaqLayoutDialog::onSize(WPARAM type, LPARAM size) {
    DefWindowProcA(hwnd(), WM_SIZE, type, size);
    if (size_change_lays_out(GET_X_LPARAM(size), GET_Y_LPARAM(size))) {
        relayout();
        placeStatusBar();
    }
}

void VaqLayoutDialog::onGetMinMaxInfo(MINMAXINFO& info) {
    const std::optional<frame_limits> limits = tracking_limits(*this);
    if (!limits) {
        return;
    }
    info.ptMinTrackSize = {limits->min_width, limits->min_height};
    if (limits->max_width != -1) {
        info.ptMaxTrackSize.x = info.ptMaxSize.x = limits->max_width;
    }
    if (limits->max_height != -1) {
        info.ptMaxTrackSize.y = info.ptMaxSize.y = limits->max_height;
    }
}

void VaqLayoutDialog::eraseBackground(HDC dc) {
    std::vector<erase_child> children;
    for (layout_control c : layoutWindow_.children()) {
        const std::uint32_t style = layoutWindow_.control_style(c);
        children.push_back({c, layoutWindow_.client_rect_of(c), layoutWindow_.control_class(c),
                            style, (style & WS_VISIBLE) != 0});
    }
    const auto tabDisplayArea = [](const erase_child& tab) {
        RECT r{tab.rect.left, tab.rect.top, tab.rect.right, tab.rect.bottom};
        SendMessageA(static_cast<HWND>(tab.control), TCM_ADJUSTRECT, FALSE,
                     reinterpret_cast<LPARAM>(&r));
        return layout_rect{r.left, r.top, r.right, r.bottom};
    };

    const Cregion erase(rect_region(layoutWindow_.client_rect()));
    SelectClipRgn(dc, nullptr);
    for (const erase_cut& cut : background_cuts(children, tabDisplayArea)) {
        const Cregion kept(cut_region(cut));
        CombineRgn(erase.get(), erase.get(), kept.get(), RGN_DIFF);
    }
    FillRgn(dc, erase.get(), background_brush(hwnd()));
}
