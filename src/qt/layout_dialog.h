#pragma once
#include "layout/vaq_layout_mgr.h"
#include "qt/qt_layout_window.h"

#include <QDialog>

class QStatusBar;

// A resizable dialog whose controls the pane layout manager arranges: a status bar with a size
// grip along the bottom, the panes above it, laid out again at every size change, and a
// minimum size from what the pane tree needs. Qt paints each control over its own background,
// so no erase around the controls is needed here.
class Cqt_layout_dialog : public QDialog {
  public:
    explicit Cqt_layout_dialog(QWidget* parent);

    QStatusBar* status_bar() const { return status_bar_; }

  protected:
    // Registers a control for the panes under its template identifier, window class and style.
    void add_control(std::int32_t id, QWidget* control, const char* class_name,
                     std::uint32_t style);
    VaqLayoutMgr& layout_manager() { return manager_; }
    // Once the tree is built: the dialog cannot be made smaller than the tree needs.
    void apply_size_limits();

    void resizeEvent(QResizeEvent* event) override;

  private:
    // The layout area ends just below the status bar's top edge, and every layout puts the
    // status bar back along the bottom edge.
    class Cmanager : public VaqLayoutMgr {
      public:
        Cmanager(layout_window& window, QStatusBar* status_bar)
            : VaqLayoutMgr(window), status_bar_(status_bar) {}
        layout_rect layoutArea() override;
        void relayout() override;
        void place_status_bar();

      private:
        QStatusBar* status_bar_;
    };

    QStatusBar* status_bar_;
    Cqt_layout_window window_;
    Cmanager manager_;
};
