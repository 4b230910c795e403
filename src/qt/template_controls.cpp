#include "qt/template_controls.h"

#include "qt/ip_address_edit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

QString text_of(const dialog_control_template& control) {
    return QString::fromLatin1(control.text);
}

QWidget* make_edit(QWidget* dialog, const dialog_control_template& control) {
    if (!is_multiline(control)) {
        auto* field = new QLineEdit(dialog);
        field->setReadOnly(is_read_only(control));
        return field;
    }
    auto* edit = new QPlainTextEdit(dialog);
    edit->setReadOnly(is_read_only(control));
    if (!wraps_lines(control)) {
        edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    }
    const auto bar = [](bool shown) {
        return shown ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded;
    };
    edit->setVerticalScrollBarPolicy(bar(has_vertical_scroll_bar(control)));
    edit->setHorizontalScrollBarPolicy(bar(has_horizontal_scroll_bar(control)));
    return edit;
}

QWidget* make_widget(QWidget* dialog, const dialog_control_template& control) {
    if (is_class(control, "SysIPAddress32")) {
        return new Cip_address_edit(dialog);
    }
    if (is_class(control, "Edit")) {
        return make_edit(dialog, control);
    }
    if (is_class(control, "ComboBox")) {
        return new QComboBox(dialog);
    }
    if (is_check_box(control)) {
        return new QCheckBox(text_of(control), dialog);
    }
    auto* button = new QPushButton(text_of(control), dialog);
    button->setDefault(is_default_button(control));
    return button;
}

}  // namespace

QWidget* make_template_control(QWidget* dialog, const dialog_control_template& control,
                               const Cdialog_units& units) {
    QWidget* widget = make_widget(dialog, control);
    widget->setObjectName(QLatin1String(control.name));
    QRect place = units.rect(control.x, control.y, control.cx, control.cy);
    if (is_class(control, "ComboBox")) {
        // The template's height is that of the dropped-down list; the box has its closed height.
        place.setHeight(widget->sizeHint().height());
    }
    widget->setGeometry(place);
    return widget;
}

Ctemplate_controls::Ctemplate_controls(QWidget* dialog, const dialog_template& source,
                                       const Cdialog_units& units) {
    for (const dialog_control_template& control : source) {
        widgets_.emplace_back(control.id, make_template_control(dialog, control, units));
    }
}

QWidget* Ctemplate_controls::widget(std::int32_t id) const {
    for (const auto& [control_id, widget] : widgets_) {
        if (control_id == id) {
            return widget;
        }
    }
    return nullptr;
}

Qt::WindowFlags template_window_flags(Qt::WindowFlags kind, const dialog_template& source) {
    Qt::WindowFlags flags = kind | Qt::CustomizeWindowHint;
    if (has_caption(source)) {
        flags |= Qt::WindowTitleHint;
    }
    if (has_window_menu(source)) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    if (has_minimize_box(source)) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    if (has_maximize_box(source)) {
        flags |= Qt::WindowMaximizeButtonHint;
    }
    return flags;
}
