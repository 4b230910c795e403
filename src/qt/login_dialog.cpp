#include "qt/login_dialog.h"

#include "layout/login_panes.h"
#include "qt/ansi_text.h"
#include "qt/dialog_units.h"
#include "qt/qt_wait_cursor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include <utility>

namespace {

// Window styles of the template's controls, as the layout's rules read them.
constexpr std::uint32_t combo_drop_down_list = 0x0003;
constexpr std::uint32_t combo_sorted = 0x0100;
constexpr std::uint32_t button_default = 0x0001;
constexpr std::uint32_t button_auto_check_box = 0x0003;
constexpr std::uint32_t edit_read_only_multiline = 0x0004 | 0x0080 | 0x0800;

// A combo box stands at its template place; its height is its closed height, which the
// template's (that of the dropped-down list) does not give.
void place_combo(QComboBox* combo, const Cdialog_units& units, int x, int y, int width) {
    const QRect r = units.rect(x, y, width, 0);
    combo->setGeometry(r.x(), r.y(), r.width(), combo->sizeHint().height());
}

}  // namespace

Cqt_login_dialog::Cqt_login_dialog(Clogin_services& services, std::string server_list_host,
                                   std::int32_t server_list_port, QWidget* parent)
    : Cqt_layout_dialog(parent),
      game_list_(new QComboBox(this)),
      nick_list_(new QComboBox(this)),
      reset_passwords_(new QCheckBox(QStringLiteral("Reset Passwords"), this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)),
      transcript_(new QPlainTextEdit(this)),
      game_combo_(game_list_, false),
      nick_combo_(nick_list_, true),
      model_(*this, services, std::move(server_list_host), server_list_port) {
    setWindowTitle(QStringLiteral("Login"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    const Cdialog_units units(font());
    resize(units.rect(0, 0, 330, 300).size());

    game_list_->setObjectName(QStringLiteral("game_list"));
    nick_list_->setObjectName(QStringLiteral("nick_list"));
    reset_passwords_->setObjectName(QStringLiteral("reset_passwords"));
    ok_->setObjectName(QStringLiteral("ok"));
    transcript_->setObjectName(QStringLiteral("transcript"));

    place_combo(game_list_, units, 7, 7, 50);
    place_combo(nick_list_, units, 7, 24, 50);
    reset_passwords_->setGeometry(units.rect(7, 77, 41, 10));
    ok_->setGeometry(units.rect(273, 7, 50, 14));
    ok_->setDefault(true);
    transcript_->setGeometry(units.rect(7, 43, 50, 25));
    transcript_->setReadOnly(true);
    transcript_->setLineWrapMode(QPlainTextEdit::NoWrap);
    transcript_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    transcript_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(ok_, &QPushButton::clicked, this, [this] { model_.on_ok(); });

    add_control(login_controls::game, game_list_, "ComboBox", combo_drop_down_list);
    add_control(login_controls::nick, nick_list_, "ComboBox", combo_drop_down_list | combo_sorted);
    add_control(login_controls::reset_passwords, reset_passwords_, "Button", button_auto_check_box);
    add_control(login_controls::ok, ok_, "Button", button_default);
    add_control(login_controls::transcript, transcript_, "Edit", edit_read_only_multiline);

    build_login_panes(layout_manager());
    apply_size_limits();
    model_.open();
    game_list_->setFocus(Qt::OtherFocusReason);
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
