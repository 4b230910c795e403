#include "qt/main_dialog.h"

#include "app/menu_commands.h"
#include "qt/ansi_text.h"
#include "qt/ip_address_edit.h"
#include "qt/login_dialog.h"
#include "qt/prefix_row.h"
#include "qt/qt_wait_cursor.h"
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

namespace {

QLineEdit* make_path_field(QWidget* parent, const Cdialog_units& units, const char* name, int y) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setReadOnly(true);
    field->setGeometry(units.rect(7, y, 331, 14));
    return field;
}

Cip_address_edit* make_address_field(QWidget* parent, const Cdialog_units& units, const char* name,
                                     int y) {
    auto* field = new Cip_address_edit(parent);
    field->setObjectName(QLatin1String(name));
    field->setGeometry(units.rect(7, y, 100, 15));
    return field;
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
      // Made in tab order: the controls' order is the focus order.
      community_address_(make_address_field(this, units_, "community_address", 7)),
      current_address_(make_address_field(this, units_, "current_address", 24)),
      hosts_path_(make_path_field(this, units_, "hosts_path", 41)),
      api_path_(make_path_field(this, units_, "api_path", 57)),
      services_(services),
      model_(*this, services) {
    add_button("&Ladders", "ladders", command_ladders, 343, 7);
    add_button("&Reset (WOL)", "reset", command_reset, 343, 24);
    add_button("&Apply", "apply", command_apply, 343, 41);
    add_button("&Test", "test", command_test, 343, 57);
    add_menu_commands();
    hosts_path_->installEventFilter(this);

    setWindowTitle(QStringLiteral("Ketrin Client"));
    setWindowIcon(application_icon());
    // A window of its own, not a dialog: window managers and taskbars then treat it as the
    // program's main window rather than as transient for a hidden leader.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
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
    setFixedSize(units_.x(400), prefix_row->geometry().bottom() + 1 + units_.y(7));

    model_.initialise();
    community_address_->setFocus(Qt::OtherFocusReason);
}

void Cqt_main_dialog::add_button(const char* text, const char* name, int command_id, int x, int y) {
    auto* button = new QPushButton(QString::fromLatin1(text), this);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(units_.rect(x, y, 50, 14));
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
