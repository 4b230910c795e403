#include "qt/main_dialog.h"

#include "app/menu_commands.h"
#include "qt/ansi_text.h"
#include "qt/ip_address_edit.h"
#include "qt/login_dialog.h"
#include "qt/prefix_row.h"
#include "qt/qt_wait_cursor.h"
#include "qt/template_controls.h"
#include "support/fixed_texts.h"
#include "registry/wine_prefix_choice.h"

#include <QAction>
#include <QEventLoop>
#include <QFile>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

namespace {

// Beside the template: Apply in the free slot of the button column.
constexpr dialog_control_template apply_button = {main_menu_commands::apply,
                                                  "Button",
                                                  ws_tabstop | bs_pushbutton,
                                                  0,
                                                  343,
                                                  41,
                                                  50,
                                                  14,
                                                  "&Apply",
                                                  "apply"};

// What the template leaves free below its lowest control; the window keeps it below the row.
int bottom_margin(const dialog_template& source) {
    int lowest = 0;
    for (const dialog_control_template& control : source) {
        lowest = std::max(lowest, control.y + control.cy);
    }
    return source.cy - lowest;
}

QIcon application_icon() {
    QIcon icon;
    icon.addFile(QStringLiteral(":/ketrin_client_16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/ketrin_client_32.png"), QSize(32, 32));
    return icon;
}

}  // namespace

Cqt_main_dialog::Cqt_main_dialog(Csystem_services& services, const wine_prefix_search& prefixes,
                                 QWidget* parent)
    : QDialog(parent),
      units_(font()),
      controls_(this, main_dialog_template, units_),
      community_address_(controls_.get<Cip_address_edit>(main_controls::community_address)),
      current_address_(controls_.get<Cip_address_edit>(main_controls::current_address)),
      hosts_path_(controls_.get<QLineEdit>(main_controls::hosts_path)),
      api_path_(controls_.get<QLineEdit>(main_controls::api_path)),
      services_(services),
      model_(*this, services) {
    for (const dialog_control_template& control : main_dialog_template) {
        if (is_push_button(control)) {
            connect_button(controls_.get<QPushButton>(control.id), control.id);
        }
    }
    auto* apply = static_cast<QPushButton*>(make_template_control(this, apply_button, units_));
    connect_button(apply, apply_button.id);
    setTabOrder(controls_.widget(main_controls::reset), apply);
    add_menu_commands();
    hosts_path_->installEventFilter(this);

    setWindowTitle(QString::fromLatin1(main_dialog_template.caption));
    setWindowIcon(application_icon());
    // A window of its own, not a dialog: window managers and taskbars then treat it as the
    // program's main window rather than as transient for a hidden leader.
    setWindowFlags(template_window_flags(Qt::Window, main_dialog_template));
    // The prefix row goes below the template's controls (and after them in tab order), as wide as
    // the path fields.
    use_wine_prefix(prefixes.chosen);
    auto* prefix_row = new Cqt_prefix_row(
        prefixes,
        [this](const std::string& directory) {
            use_wine_prefix(directory);
            model_.read_api_path();
        },
        this);
    prefix_row->place(units_.rect(7, 73, 331, 14));
    setFixedSize(
        units_.x(main_dialog_template.cx),
        prefix_row->geometry().bottom() + 1 + units_.y(bottom_margin(main_dialog_template)));

    model_.initialise();
    community_address_->setFocus(Qt::OtherFocusReason);
}

void Cqt_main_dialog::connect_button(QPushButton* button, int command_id) {
    // The template has no default button: Enter presses the focused button or ends the dialog.
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, command_id] { on_command(command_id); });
}

void Cqt_main_dialog::add_menu_commands() {
    for (const menu_command& entry : menu_commands) {
        auto* action = new QAction(QString::fromLatin1(entry.text), this);
        const int command_id = entry.command_id;
        connect(action, &QAction::triggered, this, [this, command_id] { on_command(command_id); });
        addAction(action);
    }
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

bool Cqt_main_dialog::on_command(int command_id) {
    return model_.on_command(command_id);
}

void Cqt_main_dialog::run() {
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
    show();
    loop.exec();
}

void Cqt_main_dialog::keyPressEvent(QKeyEvent* event) {
    // Enter presses the push button that has the focus, else it ends the dialog, as the Windows
    // dialog does; Escape ends it through QDialog.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
        } else {
            accept();
        }
        return;
    }
    QDialog::keyPressEvent(event);
}

bool Cqt_main_dialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == hosts_path_ && event->type() == QEvent::MouseButtonDblClick) {
        on_command(command_edit_hosts);
    }
    return QDialog::eventFilter(watched, event);
}

void Cqt_main_dialog::set_community_address(std::uint32_t control_value) {
    community_address_->set_address(control_value);
}

std::uint32_t Cqt_main_dialog::community_address() const {
    return community_address_->address();
}

void Cqt_main_dialog::set_current_address(std::uint32_t control_value) {
    current_address_->set_address(control_value);
}

void Cqt_main_dialog::set_hosts_path(const std::string& path) {
    // A file name of this system, in its own encoding.
    hosts_path_->setText(QFile::decodeName(QByteArray::fromStdString(path)));
}

void Cqt_main_dialog::set_api_path(const std::string& path) {
    api_path_->setText(text_from_ansi(path));
}

void Cqt_main_dialog::show_error(const std::string& text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), text_from_ansi(text),
                    QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void Cqt_main_dialog::begin_wait_cursor() {
    begin_qt_wait_cursor();
}

void Cqt_main_dialog::end_wait_cursor() {
    end_qt_wait_cursor();
}

void Cqt_main_dialog::run_login_dialog() {
    Cqt_login_dialog dialog(services_, server_list_host, server_list_port, this);
    dialog.exec();
}
