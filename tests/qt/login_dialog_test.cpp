#include "qt/login_dialog.h"

#include "layout/fake_layout_dialog.h"
#include "layout/layout_dialog_rules.h"
#include "layout/login_panes.h"
#include "qt/dialog_control.h"
#include "qt/dialog_units.h"
#include "qt/qt_test_support.h"
#include "support/fixed_texts.h"
#include "fixtures/loopback_server.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const std::string prefix_game = "Software\\Westwood\\";

struct combo_entry {
    QString text;
    qint64 data;
    bool operator==(const combo_entry& o) const { return text == o.text && data == o.data; }
};

std::ostream& operator<<(std::ostream& out, const combo_entry& e) {
    return out << e.text.toStdString() << "/" << e.data;
}

std::vector<combo_entry> entries(const QComboBox* combo) {
    std::vector<combo_entry> list;
    for (int i = 0; i < combo->count(); ++i) {
        list.push_back({combo->itemText(i), combo->itemData(i).value<qint64>()});
    }
    return list;
}

// Sets an environment variable for as long as it lives.
class Cscoped_environment {
  public:
    Cscoped_environment(const char* name, const char* value) : name_(name) {
        const char* old = std::getenv(name);
        had_ = old != nullptr;
        old_ = had_ ? old : "";
        setenv(name, value, 1);
    }
    ~Cscoped_environment() {
        if (had_) {
            setenv(name_, old_.c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

  private:
    const char* name_;
    bool had_;
    std::string old_;
};

TEST(login_dialog, opens_with_the_games_and_accounts_a_wine_prefix_holds) {
    if (std::getenv("WINEPREFIX") == nullptr) {
        GTEST_SKIP() << "no Wine: no prefix seeded";
    }
    Cqt_test_services services;
    Cqt_login_dialog dialog(services, server_list_host, server_list_port);
    EXPECT_EQ(dialog.windowTitle(), "Login");
    const QComboBox* games = control<QComboBox>(dialog, "game_list");
    EXPECT_EQ(entries(games),
              (std::vector<combo_entry>{{"Renegade", 0}, {"Red Alert 2", 1}, {"Nox", 2}}));
    EXPECT_EQ(games->currentIndex(), 0);
    EXPECT_EQ(entries(control<QComboBox>(dialog, "nick_list")),
              (std::vector<combo_entry>{{"alpha", 0}}));
    EXPECT_FALSE(control<QCheckBox>(dialog, "reset_passwords")->isChecked());
    EXPECT_TRUE(control<QPlainTextEdit>(dialog, "transcript")->toPlainText().isEmpty());
}

TEST(login_dialog, nick_list_sorts_without_case_and_decodes_the_ansi_code_page) {
    const Cscoped_environment no_prefix("WINEPREFIX", "/nonexistent");  // code page 1252
    fake_registry registry;
    registry.add_account(3, "zeta", "password");
    registry.add_account(5, "Alpha", "password");
    registry.add_account(7, "J\xF6rg", "password");
    registry.add_account(9, "alpha", "password");
    registry.add_account(11, "beta", "short");
    Cqt_test_services services;
    services.registry = &registry;
    Cqt_login_dialog dialog(services, server_list_host, server_list_port);

    const QComboBox* nicks = control<QComboBox>(dialog, "nick_list");
    EXPECT_EQ(entries(nicks),
              (std::vector<combo_entry>{
                  {"Alpha", 1}, {"alpha", 3}, {QString::fromUtf8("J\u00f6rg"), 2}, {"zeta", 0}}));
    EXPECT_EQ(nicks->currentIndex(), 0);
    EXPECT_EQ(control<QComboBox>(dialog, "game_list")->count(), 0);
    EXPECT_EQ(control<QComboBox>(dialog, "game_list")->currentIndex(), -1);
}

class login_exchange : public ::testing::Test {
  protected:
    void SetUp() override {
        registry.add_key(registry_root::local_machine, prefix_game + "Tiberian Sun");
        registry.add_account(1, "player", "secret12");
        services.registry = &registry;
    }

    // The login server's answer carries markup and CR LF line ends; both must show as text.
    std::vector<std::string> run_ok(bool reset_passwords, QString& shown) {
        Cloopback_server login([](Cloopback_connection& c) {
            c.read_until("quit\n");
            c.send("<b>not bold</b> &amp;\r\nsecond line\r\n");
        });
        const std::uint16_t login_port = login.port();
        Cloopback_server list([login_port](Cloopback_connection& c) {
            c.read_until("quit\n");
            c.send(":s 605 u :127.0.0.1 " + std::to_string(login_port) + " more\r\n");
        });
        Cqt_login_dialog dialog(services, "127.0.0.1", list.port());
        auto* reset = control<QCheckBox>(dialog, "reset_passwords");
        reset->setChecked(reset_passwords);
        QTest::mouseClick(control<QPushButton>(dialog, "ok"), Qt::LeftButton);
        EXPECT_TRUE(settle_until_work_is_done());
        shown = control<QPlainTextEdit>(dialog, "transcript")->toPlainText();
        EXPECT_FALSE(reset->isChecked()) << "unchecked after a completed test";
        EXPECT_NE(dialog.cursor().shape(), Qt::WaitCursor) << "wait cursor ended";
        EXPECT_TRUE(control<QPushButton>(dialog, "ok")->isEnabled());
        std::vector<std::string> requests = list.finish();
        for (const std::string& r : login.finish()) {
            requests.push_back(r);
        }
        return requests;
    }

    fake_registry registry;
    Cqt_test_services services;
};

TEST_F(login_exchange, ok_asks_the_server_list_then_logs_in_and_shows_the_answer_as_plain_text) {
    QString shown;
    const std::vector<std::string> requests = run_ok(false, shown);
    EXPECT_EQ(requests,
              (std::vector<std::string>{"whereto 0 0 4608\nquit\n",
                                        "cvers 0 4608\nnick player\napgar secret12 0\nuser\n"
                                        "privmsg c /names\nquit\n"}));
    const QStringList lines = shown.split('\n');
    ASSERT_EQ(lines.size(), 5) << shown.toStdString();
    EXPECT_EQ(lines[0], "nick: player");
    EXPECT_TRUE(lines[1].startsWith("server: ")) << lines[1].toStdString();
    EXPECT_EQ(lines[2], "<b>not bold</b> &amp;");
    EXPECT_EQ(lines[3], "second line");
    EXPECT_EQ(lines[4], "");
}

TEST_F(login_exchange, reset_passwords_sends_no_password_and_unchecks_the_box) {
    QString shown;
    const std::vector<std::string> requests = run_ok(true, shown);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1], "cvers 0 4608\nnick player\nuser\nprivmsg c :reset passwords\nquit\n");
}

// The Qt dialog must arrange its controls exactly as the toolkit-free manager does for the
// same control sizes, client size and status bar.
class login_layout : public ::testing::Test {
  protected:
    void SetUp() override {
        services.registry = &registry;
        dialog = std::make_unique<Cqt_login_dialog>(services, server_list_host, server_list_port);
        const int combo_height = control<QComboBox>(*dialog, "game_list")->height();
        const Cdialog_units units(dialog->font());
        // The template's places, a combo box at its closed height.
        for (const dialog_control_template& c : login_dialog_template) {
            QRect r = units.rect(c.x, c.y, c.cx, c.cy);
            if (is_class(c, "ComboBox")) {
                r.setHeight(combo_height);
            }
            window.add(c.id, {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()}, c.window_class,
                       control_window_style(c));
        }
        reference.statusBarHeight = dialog->status_bar()->height();
        window.client = {dialog->width(), dialog->height()};
        build_login_panes(reference);
    }

    void expect_same_places() {
        for (const dialog_control_template& c : login_dialog_template) {
            const QRect g = control<QWidget>(*dialog, c.name)->geometry();
            EXPECT_EQ((layout_rect{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()}),
                      window.placed(c.id))
                << c.name << " at client size " << window.client.width << "x"
                << window.client.height;
        }
        const QRect bar = dialog->status_bar()->geometry();
        EXPECT_EQ(bar, QRect(0, dialog->height() - bar.height(), dialog->width(), bar.height()));
        EXPECT_EQ(control<QWidget>(*dialog, "transcript")->geometry().bottom() + 1, bar.top() + 5);
    }

    fake_registry registry;
    Cqt_test_services services;
    std::unique_ptr<Cqt_login_dialog> dialog;
    fake_layout_window window;
    fake_layout_dialog reference{window};
};

TEST_F(login_layout, panes_match_the_toolkit_free_manager_on_opening_and_after_resizing) {
    const Cdialog_units units(dialog->font());
    EXPECT_EQ(dialog->size(),
              QSize(units.x(login_dialog_template.cx), units.y(login_dialog_template.cy)));
    expect_same_places();

    dialog->show();
    settle();
    for (const QSize size : {QSize(700, 520), QSize(420, 300)}) {
        dialog->resize(size);
        settle();
        ASSERT_EQ(dialog->size(), size);
        window.client = {size.width(), size.height()};
        reference.relayout();
        expect_same_places();
    }
}

TEST_F(login_layout, minimum_size_is_what_the_pane_tree_needs) {
    const std::optional<frame_limits> limits = tracking_limits(reference);
    ASSERT_TRUE(limits.has_value());
    const int frame_width = window.insets.left + window.insets.right;
    const int frame_height = window.insets.top + window.insets.bottom;
    EXPECT_EQ(dialog->minimumSize(),
              QSize(limits->min_width - frame_width, limits->min_height - frame_height));
    EXPECT_EQ(dialog->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

}  // namespace
