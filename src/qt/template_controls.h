#pragma once
#include "qt/dialog_units.h"
#include "support/dialog_template.h"

#include <QWidget>

#include <cstdint>
#include <utility>
#include <vector>

// A dialog template's controls as Qt widgets on their dialog, made in template order (so the
// focus chain follows the tab order), each at its template place and named as the template names
// it. The kind of widget follows the control's class and style.
class Ctemplate_controls {
  public:
    Ctemplate_controls(QWidget* dialog, const dialog_template& source, const Cdialog_units& units);

    // The widget of the control with this identifier, or nullptr.
    QWidget* widget(std::int32_t id) const;
    template <class W>
    W* get(std::int32_t id) const {
        return dynamic_cast<W*>(widget(id));
    }

  private:
    std::vector<std::pair<std::int32_t, QWidget*>> widgets_;
};

// Makes one control on `dialog` as Ctemplate_controls does.
QWidget* make_template_control(QWidget* dialog, const dialog_control_template& control,
                               const Cdialog_units& units);

// The window flags of a template's frame: `kind` (Qt::Window or Qt::Dialog), the caption, the
// window menu with its close box, and the minimise and maximise boxes that the style names.
Qt::WindowFlags template_window_flags(Qt::WindowFlags kind, const dialog_template& source);
