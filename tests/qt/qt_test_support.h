#pragma once
#include "app/platform_services.h"
#include "fixtures/isolation.h"
#include "fixtures/test_files.h"
#include "login/fake_login_services.h"

#include <QMessageBox>
#include <QString>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

class QWidget;

// The real system, except that the desktop opener is recorded instead of started and, where a
// test says so, the registry is a fake one and the hosts file lies elsewhere.
class Cqt_test_services : public Cplatform_services {
  public:
    std::unique_ptr<Cregistry_handle> make_registry_handle() override;
    std::string hosts_file_path() override;
    void open_in_text_editor(const std::string& path) override;
    void open_web_page(const std::string& address) override;

    fake_registry* registry = nullptr;
    std::string hosts_path;  // empty: the system's
    std::vector<std::string> opened;
};

// Watches for modal windows while it lives: each one that opens is recorded, handed to
// `inspect`, and closed, so that a test can go on past the exec() that opened it.
class Cmodal_watch {
  public:
    struct seen {
        QString title;
        QString text;  // a message box's text
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        bool message_box = false;
    };

    explicit Cmodal_watch(std::function<void(QWidget*)> inspect = {});

    std::vector<seen> windows;

  private:
    void check();

    std::function<void(QWidget*)> inspect_;
    QTimer timer_;
};

// Lets posted events (resizes, layouts, shows) take effect.
void settle();

// Lets events take effect until no worker of a dialog runs any more; false when one still ran
// after a few seconds.
bool settle_until_work_is_done();
