#include "qt/main_dialog.h"

#include "app/menu_commands.h"
#include "qt/ansi_text.h"
#include "qt/ip_address_edit.h"
#include "qt/login_dialog.h"
#include "qt/prefix_row.h"
#include "qt/template_controls.h"
#include "qt/views_on_gui_thread.h"
#include "qt/waiting_services.h"
#include "registry/wine_prefix_choice.h"
#include "support/fixed_texts.h"

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

// What each control is, for its tooltip and for screen readers.
struct control_description {
    std::int32_t id;
    QString tip;
    const char* name;
};

std::vector<control_description> control_descriptions() {
    return {
        {main_controls::community_address,
         QStringLiteral("The community's address: Apply points the games here"),
         "Community address"},
        {main_controls::current_address,
         QStringLiteral("Where %1 leads now").arg(QLatin1String(server_list_host)),
         "Current address"},
        {main_controls::hosts_path,
         QStringLiteral("The hosts file that Apply and Reset rewrite; a double-click opens it"),
         "Hosts file"},
        {main_controls::api_path,
         QStringLiteral("Where the game-service API is installed in the Wine prefix"),
         "Game-service API folder"},
        {main_controls::ladders, QStringLiteral("Opens the community's ladders in the web browser"),
         "Ladders"},
        {main_controls::reset,
         QStringLiteral("Removes the service hosts from the hosts file: the games use the "
                        "original servers again"),
         "Reset"},
        {main_menu_commands::apply,
         QStringLiteral("Points the games at the community's address through the hosts file"),
         "Apply"},
        {main_controls::test, QStringLiteral("Tests a login against the server list"), "Test"},
    };
}

QIcon application_icon() {
    QIcon icon;
    icon.addFile(QStringLiteral(":/ketrin_client_16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/ketrin_client_32.png"), QSize(32, 32));
    return icon;
}

}  // namespace

struct Cqt_main_dialog::session {
    session(const std::shared_ptr<Cgui_link>& link, Cmain_view& view, Csystem_services& system,
            Cwaiting_services::waiting_function waiting)
        : view_on_gui(link, view),
          services(system, std::move(waiting)),
          model(view_on_gui, services) {}

    Cmain_view_on_gui_thread view_on_gui;
    Cwaiting_services services;
    Cmain_dialog_model model;
};

Cqt_main_dialog::Cqt_main_dialog(Csystem_services& services, prefix_search_function find_prefixes,
                                 QWidget* parent)
    : QDialog(parent),
      units_(font()),
      controls_(this, main_dialog_template, units_),
      community_address_(controls_.get<Cip_address_edit>(main_controls::community_address)),
      current_address_(controls_.get<Cip_address_edit>(main_controls::current_address)),
      hosts_path_(controls_.get<QLineEdit>(main_controls::hosts_path)),
      api_path_(controls_.get<QLineEdit>(main_controls::api_path)),
      services_(services),
      link_(std::make_shared<Cgui_link>()),
      session_(std::make_shared<session>(link_, static_cast<Cmain_view&>(*this), services,
                                         [link = link_, this](const std::string& what) {
                                             link->call([&] { show_waiting(what); });
                                         })) {
    for (const dialog_control_template& control : main_dialog_template) {
        if (is_push_button(control)) {
            connect_button(controls_.get<QPushButton>(control.id), control.id);
        }
    }
    auto* apply = static_cast<QPushButton*>(make_template_control(this, apply_button, units_));
    connect_button(apply, apply_button.id);
    setTabOrder(controls_.widget(main_controls::reset), apply);
    add_menu_commands();
    describe_controls(apply);
    hosts_path_->installEventFilter(this);

    setWindowTitle(QString::fromLatin1(main_dialog_template.caption));
    setWindowIcon(application_icon());
    // A window of its own, not a dialog: window managers and taskbars then treat it as the
    // program's main window rather than as transient for a hidden leader.
    setWindowFlags(template_window_flags(Qt::Window, main_dialog_template));
    // The prefix row goes below the template's controls (and after them in tab order), as wide as
    // the path fields.
    prefix_row_ = new Cqt_prefix_row(
        [this](const std::string& directory) {
            use_wine_prefix(directory);
            session_->model.read_api_path();
        },
        this);
    prefix_row_->place(units_.rect(7, 73, 331, 14));
    fit_to_prefix_row();

    session_->model.show_hosts_path();
    community_address_->setFocus(Qt::OtherFocusReason);
    // Apply waits for the community's address: the lookups are the first command.
    run_command([](Cmain_dialog_model& model) { model.look_up_addresses(); });
    start_prefix_search(std::move(find_prefixes));
}

Cqt_main_dialog::~Cqt_main_dialog() {
    link_->let_go();
}

void Cqt_main_dialog::describe_controls(QWidget* apply) {
    for (const control_description& description : control_descriptions()) {
        QWidget* control =
            description.id == apply_button.id ? apply : controls_.widget(description.id);
        control->setToolTip(description.tip);
        control->setAccessibleName(QString::fromLatin1(description.name));
    }
}

void Cqt_main_dialog::start_prefix_search(prefix_search_function find_prefixes) {
    if (!find_prefixes) {
        show_prefixes({});
        return;
    }
    auto found = std::make_shared<wine_prefix_search>();
    link_->run([found, find_prefixes = std::move(find_prefixes)] { *found = find_prefixes(); },
               [this, found] { show_prefixes(*found); });
}

void Cqt_main_dialog::show_prefixes(const wine_prefix_search& search) {
    use_wine_prefix(search.chosen);
    session_->model.read_api_path();
    prefix_row_->show_search(search);
    fit_to_prefix_row();
}

void Cqt_main_dialog::show_waiting(const std::string& what) {
    prefix_row_->set_waiting_note(QString::fromStdString(what));
    fit_to_prefix_row();
}

void Cqt_main_dialog::fit_to_prefix_row() {
    setFixedSize(
        units_.x(main_dialog_template.cx),
        prefix_row_->geometry().bottom() + 1 + units_.y(bottom_margin(main_dialog_template)));
}

void Cqt_main_dialog::run_command(std::function<void(Cmain_dialog_model&)> command) {
    if (busy_) {
        return;
    }
    set_busy(true);
    link_->run([shared = session_, command = std::move(command)] { command(shared->model); },
               [this] { set_busy(false); });
}

void Cqt_main_dialog::set_busy(bool busy) {
    busy_ = busy;
    if (busy) {
        focus_before_command_ = focusWidget();
        setCursor(Qt::WaitCursor);
    } else {
        unsetCursor();
    }
    for (QWidget* button : command_buttons_) {
        button->setEnabled(!busy);
    }
    for (QAction* action : actions()) {
        action->setEnabled(!busy);
    }
    if (!busy && focus_before_command_ != nullptr && isActiveWindow()) {
        focus_before_command_->setFocus(Qt::OtherFocusReason);
    }
}

void Cqt_main_dialog::connect_button(QPushButton* button, int command_id) {
    // The template has no default button: Enter presses the focused button or ends the dialog.
    button->setAutoDefault(false);
    command_buttons_.push_back(button);
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
    if (!is_main_command(command_id)) {
        return false;
    }
    run_command([command_id](Cmain_dialog_model& model) { model.on_command(command_id); });
    return true;
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

// The window shows the wait cursor for the whole of every command, not only where the logic asks.
void Cqt_main_dialog::begin_wait_cursor() {}

void Cqt_main_dialog::end_wait_cursor() {}

void Cqt_main_dialog::run_login_dialog() {
    Cqt_login_dialog dialog(services_, server_list_host, server_list_port, this);
    dialog.exec();
}
