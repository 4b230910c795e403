#include "qt/main_dialog.h"

#include "app/main_dialog_template.h"
#include "qt/dialog_control.h"
#include "qt/dialog_units.h"
#include "qt/ip_address_edit.h"
#include "qt/qt_test_support.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace {

const std::string hosts_path = "/etc/hosts";
const std::string hosts_with_service =
    "127.0.0.1\tlocalhost\n127.0.0.1 servserv.westwood.com\n# kept\n";

// The lines of the hosts file that name one of the service hosts.
std::vector<std::string> service_lines() {
    std::vector<std::string> lines;
    std::istringstream in(file_bytes(hosts_path));
    for (std::string line; std::getline(in, line);) {
        if (line.find("westwood.com") != std::string::npos) {
            lines.push_back(line);
        }
    }
    return lines;
}

class main_dialog : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(hosts_file_is_private()) << "run inside tests/fixtures/isolated";
        put_file_bytes(hosts_path, hosts_with_service);
    }

    Cip_address_edit* address(const char* name) { return control<Cip_address_edit>(*dialog, name); }

    // Opens the dialog and waits for its start-up lookups.
    void open() {
        dialog = std::make_unique<Cqt_main_dialog>(services);
        ASSERT_TRUE(settle_until_work_is_done());
    }

    // Gives a command and waits until it is done.
    bool command(int command_id) {
        const bool known = dialog->on_command(command_id);
        EXPECT_TRUE(settle_until_work_is_done());
        return known;
    }

    void click(const char* button) {
        QTest::mouseClick(control<QPushButton>(*dialog, button), Qt::LeftButton);
        EXPECT_TRUE(settle_until_work_is_done());
    }

    Cqt_test_services services;
    std::unique_ptr<Cqt_main_dialog> dialog;
};

TEST_F(main_dialog, opens_with_the_templates_controls_and_the_looked_up_addresses) {
    open();
    dialog->show();
    dialog->activateWindow();
    settle();

    EXPECT_EQ(dialog->windowTitle(), main_dialog_template.caption);
    // The template's 400 units wide, and tall enough for the prefix row below its controls.
    const Cdialog_units units(dialog->font());
    EXPECT_EQ(dialog->width(), units.x(main_dialog_template.cx));
    EXPECT_EQ(dialog->height(),
              control<QWidget>(*dialog, "prefix_row")->geometry().bottom() + 1 + units.y(7));
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize()) << "not resizable";
    EXPECT_FALSE(dialog->windowFlags() & Qt::WindowMaximizeButtonHint);
    const QList<QSize> icon_sizes = dialog->windowIcon().availableSizes();
    EXPECT_TRUE(icon_sizes.contains(QSize(16, 16)) && icon_sizes.contains(QSize(32, 32)));

    struct expected_control {
        std::string name;
        QRect units;
        const char* text;
    };
    std::vector<expected_control> controls;
    for (const dialog_control_template& c : main_dialog_template) {
        controls.push_back({c.name, {c.x, c.y, c.cx, c.cy}, is_push_button(c) ? c.text : nullptr});
    }
    // Beside the template: Apply in the button column's free slot, and the prefix row below.
    controls.insert(controls.end() - 1, {"apply", {343, 41, 50, 14}, "&Apply"});
    controls.push_back({"prefix_row", {7, 73, 331, 14}, nullptr});
    std::vector<QString> tab_order;
    for (const expected_control& c : controls) {
        QWidget* widget = control<QWidget>(*dialog, c.name.c_str());
        ASSERT_NE(widget, nullptr);
        const QRect& u = c.units;
        EXPECT_EQ(widget->geometry(), units.rect(u.x(), u.y(), u.width(), u.height())) << c.name;
        if (c.text != nullptr) {
            EXPECT_EQ(static_cast<QPushButton*>(widget)->text(), c.text);
        }
    }
    // Each control is one tab stop, in template order.
    QWidget* at = dialog->focusWidget();
    ASSERT_NE(at, nullptr);
    EXPECT_TRUE(address("community_address")->isAncestorOf(at)) << "focus starts there";
    for (std::size_t i = 0; i < controls.size(); ++i) {
        QWidget* owner = at;
        while (owner->parentWidget() != dialog.get()) {
            owner = owner->parentWidget();
        }
        tab_order.push_back(owner->objectName());
        QTest::keyClick(at, Qt::Key_Tab);
        at = dialog->focusWidget();
    }
    EXPECT_EQ(tab_order, (std::vector<QString>{"community_address", "current_address", "hosts_path",
                                               "api_path", "ladders", "reset", "apply", "test",
                                               "prefix_row"}));

    // The community host is unknown here; the service host resolves through the hosts file.
    EXPECT_EQ(address("community_address")->text(), "255.255.255.255");
    EXPECT_EQ(address("current_address")->text(), "127.0.0.1");
    EXPECT_EQ(control<QLineEdit>(*dialog, "hosts_path")->text(), "/etc/hosts");
    const char* prefix = std::getenv("WINEPREFIX");
    EXPECT_EQ(control<QLineEdit>(*dialog, "api_path")->text(),
              prefix != nullptr ? "C:\\Westwood\\WOLAPI\\" : "");
}

TEST_F(main_dialog, commands_rewrite_the_hosts_file_and_show_the_new_address) {
    open();
    Cip_address_edit* community = address("community_address");

    community->set_address(0x0A141E28);
    EXPECT_TRUE(command(1001));
    EXPECT_EQ(service_lines(), (std::vector<std::string>{"10.20.30.40 irc.westwood.com",
                                                         "10.20.30.40 servserv.westwood.com"}));
    EXPECT_EQ(address("current_address")->text(), "10.20.30.40");

    for (QLineEdit* field : community->findChildren<QLineEdit*>()) {
        field->clear();
    }
    EXPECT_TRUE(command(1001));
    EXPECT_EQ(service_lines(), (std::vector<std::string>{"0.0.0.0 irc.westwood.com",
                                                         "0.0.0.0 servserv.westwood.com"}));
    EXPECT_EQ(address("current_address")->text(), "0.0.0.0");

    click("reset");
    EXPECT_TRUE(service_lines().empty());
    EXPECT_EQ(file_bytes(hosts_path), "127.0.0.1\tlocalhost\n# kept\n");

    EXPECT_TRUE(command(1006));
    click("ladders");
    EXPECT_EQ(services.opened, (std::vector<std::string>{"editor /etc/hosts",
                                                         "browser https://ketrin.net/ladders/"}));
    EXPECT_FALSE(command(1003)) << "a control's own id is no command";
}

TEST_F(main_dialog, failed_rewrite_shows_exactly_one_error_box) {
    const std::filesystem::path missing =
        std::filesystem::temp_directory_path() / "ketrin-no-such-dir" / "hosts";
    services.hosts_path = missing.string();
    open();

    for (const int id : {1001, 1002}) {
        Cmodal_watch watch;
        EXPECT_TRUE(command(id));
        ASSERT_EQ(watch.windows.size(), 1u) << id;
        const Cmodal_watch::seen& box = watch.windows[0];
        EXPECT_TRUE(box.message_box);
        EXPECT_EQ(box.title, "Error");
        EXPECT_EQ(box.text, "Your hosts file could not be updated.");
        EXPECT_EQ(box.icon, QMessageBox::Critical);
    }
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(main_dialog, test_opens_the_login_dialog_only_while_the_service_host_resolves) {
    open();
    {
        Cmodal_watch watch;
        click("test");
        ASSERT_EQ(watch.windows.size(), 1u);
        EXPECT_EQ(watch.windows[0].title, "Login");
    }
    put_file_bytes(hosts_path, "127.0.0.1\tlocalhost\n");
    Cmodal_watch watch;
    EXPECT_TRUE(command(1007));
    EXPECT_TRUE(watch.windows.empty());
}

TEST_F(main_dialog, enter_and_escape_end_the_dialog_unless_enter_presses_a_button) {
    struct key_case {
        const char* focus;
        Qt::Key key;
        bool ends;
    };
    for (const key_case& c :
         {key_case{"hosts_path", Qt::Key_Return, true},
          key_case{"community_address", Qt::Key_Enter, true},
          key_case{"reset", Qt::Key_Escape, true}, key_case{"ladders", Qt::Key_Return, false}}) {
        services.opened.clear();
        open();
        dialog->show();
        settle();
        QWidget* target = control<QWidget>(*dialog, c.focus);
        target->setFocus();
        QTest::keyClick(dialog->focusWidget(), c.key);
        EXPECT_TRUE(settle_until_work_is_done());
        EXPECT_EQ(dialog->isVisible(), !c.ends) << c.focus;
        EXPECT_EQ(services.opened.size(), c.ends ? 0u : 1u) << c.focus;
    }
}

}  // namespace
