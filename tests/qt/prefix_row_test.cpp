// The main window's Wine prefix row on Qt's offscreen platform, over a scratch home laid out as
// the launchers lay out theirs.
#include "fixtures/scratch_home.h"
#include "prefixes/wine_prefix_discovery.h"
#include "qt/main_dialog.h"
#include "qt/prefix_row.h"
#include "qt/qt_test_support.h"
#include "registry/wine_prefix_choice.h"

#include <unistd.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

using strings = std::vector<std::string>;

class prefix_row : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(hosts_file_is_private()) << "run inside tests/fixtures/isolated";
        put_file_bytes("/etc/hosts", "127.0.0.1\tlocalhost\n127.0.0.1 servserv.westwood.com\n");
    }
    // The other tests read the prefix the environment names.
    void TearDown() override { use_wine_prefix({}); }

    void open() {
        dialog = std::make_unique<Cqt_main_dialog>(
            services, [this] { return find_wine_prefixes(home.path(), ""); });
        dialog->show();
        ASSERT_TRUE(settle_until_work_is_done());
    }

    QComboBox* prefixes() const { return dialog->findChild<QComboBox*>(QStringLiteral("prefix")); }

    strings entries() const {
        strings texts;
        for (int i = 0; i < prefixes()->count(); ++i) {
            texts.push_back(prefixes()->itemText(i).toStdString());
        }
        return texts;
    }

    std::string api_path() const {
        return dialog->findChild<QLineEdit*>(QStringLiteral("api_path"))->text().toStdString();
    }

    // The games the login dialog offers, opened by the Test button.
    strings offered_games() {
        strings games;
        Cmodal_watch watch([&games](QWidget* login) {
            const auto* list = login->findChild<QComboBox*>(QStringLiteral("game_list"));
            for (int i = 0; list != nullptr && i < list->count(); ++i) {
                games.push_back(list->itemText(i).toStdString());
            }
        });
        dialog->on_command(command_test);
        EXPECT_TRUE(settle_until_work_is_done());
        EXPECT_EQ(watch.windows.size(), 1u) << "the login dialog did not open";
        return games;
    }

    Cscratch_home home;
    Cqt_test_services services;
    std::unique_ptr<Cqt_main_dialog> dialog;
};

TEST_F(prefix_row, opens_on_the_newest_prefix_with_a_game_lists_all_and_the_login_follows_it) {
    home.put(".config/lutris/games/red-alert-2.yml", "game:\n  prefix: ~/Games/red-alert-2\n");
    const std::string lutris = home.prefix("Games/red-alert-2", "red_alert_2", 3600);
    const std::string steam =
        home.prefix(".steam/steam/steamapps/compatdata/2229850/pfx", "tiberian_sun", 60);
    open();

    EXPECT_EQ(entries(),
              (strings{steam + " (Tiberian Sun)", lutris + " (Red Alert 2)", "Another folder…"}));
    EXPECT_EQ(prefixes()->currentIndex(), 0);
    EXPECT_TRUE(dialog->findChild<QLabel*>(QStringLiteral("prefix_note"))->isHidden());
    EXPECT_EQ(offered_games(), strings{"Tiberian Sun"});

    prefixes()->setCurrentIndex(1);
    EXPECT_EQ(offered_games(), strings{"Red Alert 2"});
}

TEST_F(prefix_row, choosing_a_prefix_reads_the_api_path_from_it) {
    const std::string api = home.prefix(".PlayOnLinux/wineprefix/api", "api", 0);
    home.prefix(".local/share/bottles/bottles/ra2", "red_alert_2", 60);
    open();
    ASSERT_EQ(entries().size(), 3u);
    EXPECT_EQ(entries()[0], api + " (no game, the game-service API)");
    EXPECT_EQ(api_path(), "C:\\Westwood\\WOLAPI\\");

    prefixes()->setCurrentIndex(1);
    EXPECT_EQ(api_path(), "");
    prefixes()->setCurrentIndex(0);
    EXPECT_EQ(api_path(), "C:\\Westwood\\WOLAPI\\");
}

TEST_F(prefix_row, another_folder_adds_the_folder_picked_and_a_cancel_keeps_the_choice) {
    const std::string bottle = home.prefix(".local/share/bottles/bottles/ra2", "red_alert_2");
    const std::string picked = home.prefix("somewhere/else", "api");
    open();
    auto* row = dialog->findChild<Cqt_prefix_row*>(QStringLiteral("prefix_row"));
    ASSERT_NE(row, nullptr);

    row->pick_folder = [] { return QString(); };
    prefixes()->setCurrentIndex(1);
    EXPECT_EQ(prefixes()->currentIndex(), 0);
    EXPECT_EQ(api_path(), "");

    row->pick_folder = [&] { return QString::fromStdString(picked); };
    prefixes()->setCurrentIndex(1);
    EXPECT_EQ(entries(), (strings{bottle + " (Red Alert 2)",
                                  picked + " (no game, the game-service API)", "Another folder…"}));
    EXPECT_EQ(prefixes()->currentIndex(), 1);
    EXPECT_EQ(api_path(), "C:\\Westwood\\WOLAPI\\");
    EXPECT_EQ(offered_games(), strings{});
}

TEST_F(prefix_row, a_prefix_with_a_huge_registry_file_is_listed_without_games) {
    const std::string game = home.prefix(".wine", "red_alert_2", 60);
    const std::string huge = home.prefix("Games/x", "red_alert_2", 0);
    // Sparse, so the test costs no disk; the program must not try to hold it in memory.
    ASSERT_EQ(truncate((huge + "/system.reg").c_str(), static_cast<off_t>(100ULL << 30)), 0);
    open();
    EXPECT_EQ(entries(),
              (strings{game + " (Red Alert 2)", huge + " (no game)", "Another folder…"}));
}

TEST_F(prefix_row, without_a_prefix_holding_a_game_says_so_and_where_it_looked) {
    home.prefix(".wine", "none");
    open();
    EXPECT_EQ(entries(), (strings{home / ".wine" + " (no game)", "Another folder…"}));
    const QLabel* note = dialog->findChild<QLabel*>(QStringLiteral("prefix_note"));
    ASSERT_FALSE(note->isHidden());
    const std::string text = note->text().toStdString();
    EXPECT_EQ(text.rfind("No Wine prefix found holds one of the games. Looked in: Lutris: " +
                             home / ".config/lutris/games",
                         0),
              0u)
        << text;
    EXPECT_NE(text.find("CrossOver: " + home / ".cxoffice"), std::string::npos) << text;
    // The note fits in the window, below the row.
    EXPECT_LE(note->mapTo(dialog.get(), note->rect().bottomLeft()).y(), dialog->height());
}

}  // namespace
