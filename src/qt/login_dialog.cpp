#include "qt/login_dialog.h"

#include "layout/login_panes.h"
#include "qt/ansi_text.h"
#include "qt/dialog_units.h"
#include "qt/template_controls.h"
#include "qt/views_on_gui_thread.h"
#include "support/tcp_exchange.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include <utility>

namespace {

bool sorted_list(std::int32_t id) {
    return is_sorted(*find_control(login_dialog_template, id));
}

// The dialog's services with exchanges that closing the dialog can end.
class Ccancellable_login_services : public Clogin_services {
  public:
    explicit Ccancellable_login_services(Clogin_services& services) : services_(services) {}

    std::unique_ptr<Cregistry_handle> make_registry_handle() override {
        return services_.make_registry_handle();
    }
    int exchange_with_server(const std::string& host, std::int32_t port, std::string_view request,
                             std::string& output) override {
        return ::exchange_with_server(host, port, request, output, &cancel_);
    }

    void cancel() { cancel_.cancel(); }

  private:
    Clogin_services& services_;
    Cexchange_cancel cancel_;
};

}  // namespace

struct Cqt_login_dialog::session {
    session(const std::shared_ptr<Cgui_link>& link, Clogin_view& view, Clogin_services& system,
            std::string server_list_host, std::int32_t server_list_port)
        : view_on_gui(link, view),
          services(system),
          model(view_on_gui, services, std::move(server_list_host), server_list_port) {}

    Clogin_view_on_gui_thread view_on_gui;
    Ccancellable_login_services services;
    Clogin_dialog_model model;
};

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
      link_(std::make_shared<Cgui_link>()),
      session_(std::make_shared<session>(link_, static_cast<Clogin_view&>(*this), services,
                                         std::move(server_list_host), server_list_port)) {
    setWindowTitle(QString::fromLatin1(login_dialog_template.caption));
    setWindowFlags(template_window_flags(Qt::Dialog, login_dialog_template));
    resize(units_.x(login_dialog_template.cx), units_.y(login_dialog_template.cy));

    auto* ok = controls_.get<QPushButton>(login_controls::ok);
    connect(ok, &QPushButton::clicked, this, [this] { on_ok(); });
    for (const dialog_control_template& control : login_dialog_template) {
        add_control(control.id, controls_.widget(control.id), control.window_class,
                    control_window_style(control));
    }

    build_login_panes(layout_manager());
    apply_size_limits();
    session_->model.open();
    controls_.widget(login_controls::game)->setFocus(Qt::OtherFocusReason);
}

Cqt_login_dialog::~Cqt_login_dialog() {
    end_test();
}

void Cqt_login_dialog::done(int result) {
    end_test();
    Cqt_layout_dialog::done(result);
}

void Cqt_login_dialog::end_test() {
    link_->let_go();
    session_->services.cancel();
}

void Cqt_login_dialog::on_ok() {
    if (busy_) {
        return;
    }
    set_busy(true);
    link_->run([shared = session_] { shared->model.on_ok(); }, [this] { set_busy(false); });
}

void Cqt_login_dialog::set_busy(bool busy) {
    busy_ = busy;
    controls_.widget(login_controls::ok)->setEnabled(!busy);
    if (busy) {
        setCursor(Qt::WaitCursor);
    } else {
        unsetCursor();
    }
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

// The dialog shows the wait cursor for the whole of a test, not only where the logic asks.
void Cqt_login_dialog::begin_wait_cursor() {}

void Cqt_login_dialog::end_wait_cursor() {}
