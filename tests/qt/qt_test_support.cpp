#include "qt/qt_test_support.h"

#include "fixtures/wait_until.h"
#include "qt/gui_link.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>

namespace {

constexpr int watch_interval_ms = 10;

}  // namespace

std::unique_ptr<Cregistry_handle> Cqt_test_services::make_registry_handle() {
    return registry != nullptr ? registry->make_handle()
                               : Cplatform_services::make_registry_handle();
}

std::string Cqt_test_services::hosts_file_path() {
    return hosts_path.empty() ? Cplatform_services::hosts_file_path() : hosts_path;
}

void Cqt_test_services::open_in_text_editor(const std::string& path) {
    opened.push_back("editor " + path);
}

void Cqt_test_services::open_web_page(const std::string& address) {
    opened.push_back("browser " + address);
}

Cmodal_watch::Cmodal_watch(std::function<void(QWidget*)> inspect) : inspect_(std::move(inspect)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { check(); });
    timer_.start(watch_interval_ms);
}

void Cmodal_watch::check() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) {
        return;
    }
    seen window;
    window.title = modal->windowTitle();
    if (const auto* box = qobject_cast<QMessageBox*>(modal)) {
        window.message_box = true;
        window.text = box->text();
        window.icon = box->icon();
    }
    windows.push_back(window);
    if (inspect_) {
        inspect_(modal);
    }
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->reject();
    } else {
        modal->close();
    }
}

void settle() {
    for (int i = 0; i < 3; ++i) {
        QApplication::sendPostedEvents();
        QApplication::processEvents();
    }
}

bool settle_until_work_is_done() {
    return wait_until(
        [] {
            settle();
            return !background_work_running();
        },
        std::chrono::seconds(10));
}
