#include "qt/login_dialog.h"

#include "layout/login_panes.h"
#include "qt/ansi_text.h"
#include "qt/dialog_units.h"
#include "qt/qt_wait_cursor.h"
#include "qt/template_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include <utility>

namespace {

bool sorted_list(std::int32_t id) {
    return is_sorted(*find_control(login_dialog_template, id));
}

}  // namespace

Cqt_login_dialog::Cqt_login_dialog(Clogin_services& services, std::string server_list_host,
                                   std::int32_t server_list_port, QWidget* parent)
    : Cqt_layout_dialog(parent),
      units_(font()),
      controls_(this, login_dialog_template, units_),
      reset_passwords_(controls_.get<QCheckBox>(login_controls::reset_passwords)),
      transcript_(controls_.get<QPlainTextEdit>(login_controls::transcript)),
      game_combo_(controls_.get<QComboBox>(login_controls::game),
                  sorted_list(login_controls::game)),
      nick_combo_(controls_.get<QComboBox>(login_controls::nick),
                  sorted_list(login_controls::nick)),
      model_(*this, services, std::move(server_list_host), server_list_port) {
    setWindowTitle(QString::fromLatin1(login_dialog_template.caption));
    setWindowFlags(template_window_flags(Qt::Dialog, login_dialog_template));
    resize(units_.x(login_dialog_template.cx), units_.y(login_dialog_template.cy));

    auto* ok = controls_.get<QPushButton>(login_controls::ok);
    connect(ok, &QPushButton::clicked, this, [this] { model_.on_ok(); });
    for (const dialog_control_template& control : login_dialog_template) {
        add_control(control.id, controls_.widget(control.id), control.window_class,
                    control_window_style(control));
    }

    build_login_panes(layout_manager());
    apply_size_limits();
    model_.open();
    controls_.widget(login_controls::game)->setFocus(Qt::OtherFocusReason);
}

bool Cqt_login_dialog::read_controls(std::int32_t& reset_passwords, std::string& transcript) {
    reset_passwords = reset_passwords_->isChecked() ? 1 : 0;
    transcript = transcript_bytes_;
    return true;
}

void Cqt_login_dialog::show_in_controls(std::int32_t reset_passwords,
                                        const std::string& transcript) {
    reset_passwords_->setChecked(reset_passwords != 0);
    transcript_bytes_ = transcript;
    transcript_->setPlainText(transcript_text(transcript));
}

void Cqt_login_dialog::begin_wait_cursor() {
    begin_qt_wait_cursor();
}

void Cqt_login_dialog::end_wait_cursor() {
    end_qt_wait_cursor();
}
