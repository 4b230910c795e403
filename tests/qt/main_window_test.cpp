// The Linux main window's own ways to the two commands the template gives no control (the Apply
// button, the context menu, a double-click on the hosts path), how it sizes itself to its font,
// and what kind of window it is.
#include "fixtures/scratch_directory.h"
#include "fixtures/wait_until.h"
#include "qt/dialog_control.h"
#include "qt/dialog_units.h"
#include "qt/ip_address_edit.h"
#include "qt/login_dialog.h"
#include "qt/main_dialog.h"
#include "qt/qt_test_support.h"
#include "support/fixed_texts.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>

namespace {

const std::string hosts_path = "/etc/hosts";

class main_window : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(hosts_file_is_private()) << "run inside tests/fixtures/isolated";
        put_file_bytes(hosts_path, "127.0.0.1\tlocalhost\n# kept\n");
    }

    Cqt_test_services services;
};

TEST_F(main_window,
       apply_sits_in_the_free_slot_between_reset_and_test_and_rewrites_the_hosts_file) {
    Cqt_main_dialog dialog(services);
    ASSERT_TRUE(settle_until_work_is_done());
    QPushButton* apply = control<QPushButton>(dialog, "apply");
    ASSERT_NE(apply, nullptr);
    EXPECT_EQ(apply->text(), "&Apply");
    EXPECT_EQ(apply->geometry(), Cdialog_units(dialog.font()).rect(343, 41, 50, 14));
    EXPECT_EQ(control<QWidget>(dialog, "reset")->nextInFocusChain(), apply);
    EXPECT_EQ(apply->nextInFocusChain(), control<QWidget>(dialog, "test"));

    control<Cip_address_edit>(dialog, "community_address")->set_address(0x0A141E28);
    QTest::mouseClick(apply, Qt::LeftButton);
    ASSERT_TRUE(settle_until_work_is_done());

    EXPECT_EQ(file_bytes(hosts_path),
              "127.0.0.1\tlocalhost\n# kept\n10.20.30.40 irc.westwood.com\n"
              "10.20.30.40 servserv.westwood.com\n");
    EXPECT_EQ(control<Cip_address_edit>(dialog, "current_address")->text(), "10.20.30.40");
}

TEST_F(main_window, right_click_offers_pointing_the_games_and_opening_the_hosts_file) {
    Cqt_main_dialog dialog(services);
    ASSERT_TRUE(settle_until_work_is_done());
    dialog.show();
    settle();
    control<Cip_address_edit>(dialog, "community_address")->set_address(0x0A000005);

    // A right-click on a button reaches the window's menu; read it and close it.
    QStringList offered;
    QTimer::singleShot(0, [&] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            for (QAction* action : popup->actions()) {
                offered << action->text();
            }
            popup->close();
        }
    });
    QWidget* reset = control<QWidget>(dialog, "reset");
    QContextMenuEvent right_click(QContextMenuEvent::Mouse, QPoint(2, 2),
                                  reset->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(reset, &right_click);
    EXPECT_EQ(offered, (QStringList{"&Point the games at this address", "Open the hosts &file"}));

    const QList<QAction*> entries = dialog.actions();
    ASSERT_EQ(entries.size(), 2);
    entries[0]->trigger();
    ASSERT_TRUE(settle_until_work_is_done());
    EXPECT_EQ(file_bytes(hosts_path),
              "127.0.0.1\tlocalhost\n# kept\n10.0.0.5 irc.westwood.com\n"
              "10.0.0.5 servserv.westwood.com\n");
    EXPECT_TRUE(services.opened.empty());
    entries[1]->trigger();
    ASSERT_TRUE(settle_until_work_is_done());
    EXPECT_EQ(services.opened, std::vector<std::string>{"editor /etc/hosts"});
}

// A stand-in for the desktop's opener, first on PATH while it lives: it writes its arguments,
// one a line, to a record file.
class Cstand_in_opener {
  public:
    Cstand_in_opener() : directory_("ketrin-opener"), path_(qgetenv("PATH")) {
        const std::filesystem::path opener = directory_.path() / "xdg-open";
        put_file_bytes(opener, "#!/bin/sh\nprintf '%s\\n' \"$@\" >'" + record().string() +
                                   ".tmp' && mv '" + record().string() + ".tmp' '" +
                                   record().string() + "'\n");
        std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
        qputenv("PATH", QByteArray::fromStdString(directory_.path().string()) + ":" + path_);
    }
    ~Cstand_in_opener() { qputenv("PATH", path_); }
    Cstand_in_opener(const Cstand_in_opener&) = delete;
    Cstand_in_opener& operator=(const Cstand_in_opener&) = delete;

    // What the opener was given, once it ran; empty when it did not within a few seconds.
    std::string arguments() const {
        wait_until([this] { return std::filesystem::exists(record()); }, std::chrono::seconds(5));
        return file_bytes_if_readable(record()).value_or("");
    }

  private:
    std::filesystem::path record() const { return directory_.path() / "record"; }

    Cscratch_directory directory_;
    QByteArray path_;
};

TEST_F(main_window, double_click_on_the_hosts_path_opens_it_with_the_desktop_opener) {
    Cstand_in_opener opener;
    Cplatform_services real;
    Cqt_main_dialog dialog(real);
    ASSERT_TRUE(settle_until_work_is_done());
    dialog.show();
    settle();

    QTest::mouseDClick(control<QLineEdit>(dialog, "hosts_path"), Qt::LeftButton);
    ASSERT_TRUE(settle_until_work_is_done());

    EXPECT_EQ(opener.arguments(), "/etc/hosts\n");
}

// The text a button draws, without its mnemonic mark, against the room its style gives it.
void expect_text_fits(QPushButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    const QRect room =
        button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    QString text = button->text();
    text.remove(QLatin1Char('&'));
    EXPECT_LE(button->fontMetrics().horizontalAdvance(text), room.width())
        << text.toStdString() << " in " << button->font().pointSize() << " pt";
}

TEST_F(main_window, sizes_itself_to_its_font_so_every_button_text_fits) {
    const QFont default_font = QApplication::font();
    QFont large = default_font;
    large.setPointSize(14);
    QSize default_size;
    for (const QFont& font : {default_font, large}) {
        QApplication::setFont(font);
        Cqt_main_dialog dialog(services);
        ASSERT_TRUE(settle_until_work_is_done());
        const Cdialog_units units(font);
        SCOPED_TRACE(font.pointSize());
        EXPECT_EQ(dialog.width(), units.x(400));
        if (default_size.isEmpty()) {
            default_size = dialog.size();
        } else {
            EXPECT_GT(dialog.width(), default_size.width());
            EXPECT_GT(dialog.height(), default_size.height());
        }
        const QList<QPushButton*> buttons = dialog.findChildren<QPushButton*>();
        EXPECT_EQ(buttons.size(), 4);
        for (QPushButton* button : buttons) {
            expect_text_fits(button);
        }
    }
    QApplication::setFont(default_font);
}

// The Windows template font at 96 dpi measures 6 by 13; so does this one. With it the dialogs
// keep the pixel sizes the fixed conversion gave them.
TEST_F(main_window, a_font_that_measures_six_by_thirteen_keeps_the_windows_pixel_sizes) {
    const QFont default_font = QApplication::font();
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setPixelSize(11);
    ASSERT_EQ(QFontInfo(font).family(), "DejaVu Sans Condensed") << "fonts-dejavu-extra missing";
    QApplication::setFont(font);
    {
        const Cdialog_units units(font);
        EXPECT_EQ(units.base_width(), 6);
        EXPECT_EQ(units.base_height(), 13);
        Cqt_main_dialog dialog(services);
        ASSERT_TRUE(settle_until_work_is_done());
        EXPECT_EQ(dialog.size(), QSize(600, 153));  // with the prefix row below the template
        EXPECT_EQ(control<QWidget>(dialog, "reset")->geometry(), QRect(515, 39, 75, 23));
        Cqt_login_dialog login(services, server_list_host, server_list_port);
        EXPECT_EQ(login.size(), QSize(495, 488));
    }
    QApplication::setFont(default_font);
}

TEST_F(main_window,
       is_an_ordinary_top_level_window_without_a_default_button_ended_like_the_dialog) {
    struct ending {
        const char* what;
        std::function<void(Cqt_main_dialog&)> end;
    };
    const ending endings[] = {
        {"Escape", [](Cqt_main_dialog& d) { QTest::keyClick(d.focusWidget(), Qt::Key_Escape); }},
        {"Enter", [](Cqt_main_dialog& d) { QTest::keyClick(d.focusWidget(), Qt::Key_Return); }},
        {"close box", [](Cqt_main_dialog& d) { d.close(); }},
    };
    for (const ending& e : endings) {
        SCOPED_TRACE(e.what);
        Cqt_main_dialog dialog(services);
        ASSERT_TRUE(settle_until_work_is_done());
        bool looked = false;
        QTimer::singleShot(0, [&] {
            looked = true;
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_EQ(dialog.windowType(), Qt::Window);
            const QWindow* window = dialog.windowHandle();
            EXPECT_TRUE(window != nullptr && window->transientParent() == nullptr);
            EXPECT_EQ(dialog.windowModality(), Qt::NonModal);
            for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
                EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString();
                EXPECT_FALSE(button->autoDefault()) << button->objectName().toStdString();
            }
            e.end(dialog);
        });
        dialog.run();
        EXPECT_TRUE(looked);
        EXPECT_FALSE(dialog.isVisible());
    }
}

// The community's lookup waits until the test lets it answer 192.0.2.77.
class Cheld_community_lookup : public Cqt_test_services {
  public:
    std::optional<std::uint32_t> look_up_host(const std::string& name) override {
        if (name != community_server_list_host) {
            return Cqt_test_services::look_up_host(name);
        }
        std::unique_lock<std::mutex> lock(mutex_);
        released_.wait(lock, [this] { return answer_; });
        return 0x4D0200C0;  // 192.0.2.77, first byte lowest
    }
    void answer() {
        const std::lock_guard<std::mutex> lock(mutex_);
        answer_ = true;
        released_.notify_all();
    }

  private:
    std::mutex mutex_;
    std::condition_variable released_;
    bool answer_ = false;
};

TEST_F(main_window, says_what_it_waits_for_and_takes_no_command_until_the_lookup_answers) {
    Cheld_community_lookup held;
    Cqt_main_dialog dialog(held);
    dialog.show();
    const QLabel* note = control<QLabel>(dialog, "prefix_note");
    // The lookup's worker tells the window what it waits for as it starts.
    wait_until(
        [note] {
            settle();
            return !note->isHidden();
        },
        std::chrono::seconds(5));
    QPushButton* apply = control<QPushButton>(dialog, "apply");
    EXPECT_TRUE(dialog.busy());
    EXPECT_EQ(note->text(), "Looking up servserv.ketrin.net…");
    EXPECT_FALSE(note->isHidden());
    EXPECT_EQ(dialog.cursor().shape(), Qt::WaitCursor);
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
    }
    for (QAction* action : dialog.actions()) {
        EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
    }
    // Given now, Apply would write what the empty field holds: it is refused instead.
    EXPECT_TRUE(dialog.on_command(command_apply));

    held.answer();
    ASSERT_TRUE(settle_until_work_is_done());
    EXPECT_EQ(file_bytes(hosts_path), "127.0.0.1\tlocalhost\n# kept\n");
    EXPECT_EQ(control<Cip_address_edit>(dialog, "community_address")->text(), "192.0.2.77");
    EXPECT_TRUE(note->isHidden());
    EXPECT_NE(dialog.cursor().shape(), Qt::WaitCursor);
    EXPECT_TRUE(apply->isEnabled());

    QTest::mouseClick(apply, Qt::LeftButton);
    ASSERT_TRUE(settle_until_work_is_done());
    EXPECT_EQ(file_bytes(hosts_path),
              "127.0.0.1\tlocalhost\n# kept\n192.0.2.77 irc.westwood.com\n"
              "192.0.2.77 servserv.westwood.com\n");
}

TEST_F(main_window, every_control_says_what_it_is_to_the_eye_and_to_screen_readers) {
    Cqt_main_dialog dialog(services);
    ASSERT_TRUE(settle_until_work_is_done());
    struct described {
        const char* control;
        QString tip;  // empty: any text
        QString name;
    };
    const described expected[] = {
        {"community_address", "The community's address: Apply points the games here",
         "Community address"},
        {"current_address", "Where servserv.westwood.com leads now", "Current address"},
        {"hosts_path", "", "Hosts file"},
        {"api_path", "", "Game-service API folder"},
        {"ladders", "", "Ladders"},
        {"reset", "", "Reset"},
        {"apply", "", "Apply"},
        {"test", "", "Test"},
        {"prefix", "", "Wine prefix"},
    };
    QStringList tips;
    for (const described& d : expected) {
        const QWidget* widget = control<QWidget>(dialog, d.control);
        ASSERT_NE(widget, nullptr) << d.control;
        EXPECT_EQ(widget->accessibleName(), d.name) << d.control;
        if (!d.tip.isEmpty()) {
            EXPECT_EQ(widget->toolTip(), d.tip) << d.control;
        }
        EXPECT_FALSE(widget->toolTip().isEmpty()) << d.control;
        tips << widget->toolTip();
    }
    tips.removeDuplicates();
    EXPECT_EQ(tips.size(), static_cast<int>(std::size(expected))) << "each tip its own";
}

}  // namespace
