#pragma once
#include "layout/vaq_layout_mgr.h"
#include "win32/dialog_window.h"
#include "win32/layout_window_win32.h"

// A modal dialog whose controls the pane layout arranges: it becomes resizable, shows a status
// bar with a size grip along its bottom, lays its panes out above the bar on every size change,
// tells the platform how small it may be made, and erases its background only around its
// controls. A derived dialog builds its pane tree in its opening, after this one's.
class VaqLayoutDialog : public Cdialog_window, public VaqLayoutMgr {
  public:
    explicit VaqLayoutDialog(UINT template_id, HWND parent = nullptr);

    // The client area, less the status bar but for the 5 pixels the panes reach below its top.
    layout_rect layoutArea() override;

  protected:
    BOOL on_init_dialog() override;
    bool on_message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

    bool hasGrip = true;
    HWND statusBar = nullptr;

  private:
    void createStatusBar();
    bool hasStatusBar() const;
    void placeStatusBar();
    void onSize(WPARAM type, LPARAM size);
    void onGetMinMaxInfo(MINMAXINFO& info);
    void eraseBackground(HDC dc);

    // Known to the manager from construction on; it learns the window when the dialog opens.
    Clayout_window_win32 layoutWindow_;
};
