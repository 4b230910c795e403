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
#include <QFontInfo>
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
#include <filesystem>
#include <functional>

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

}  // namespace
