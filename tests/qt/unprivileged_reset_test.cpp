// The program's dialog and system services as a user who may not write /etc/hosts runs them.
#include "app/platform_services.h"
#include "qt/main_dialog.h"
#include "qt/qt_test_support.h"

#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

TEST(unprivileged_user, reset_shows_the_error_and_leaves_the_hosts_file_as_it_was) {
    ASSERT_TRUE(hosts_file_is_private()) << "run inside tests/fixtures/isolated";
    ASSERT_NE(geteuid(), 0u) << "must run as a user who may not write /etc/hosts";
    const std::string before = file_bytes("/etc/hosts");
    ASSERT_NE(before.find("servserv.westwood.com"), std::string::npos)
        << "the hosts file must hold a line a reset would remove";

    Cplatform_services services;
    Cqt_main_dialog dialog(services);
    ASSERT_TRUE(settle_until_work_is_done());
    Cmodal_watch watch;
    QTest::mouseClick(dialog.findChild<QPushButton*>("reset"), Qt::LeftButton);
    ASSERT_TRUE(settle_until_work_is_done());

    ASSERT_EQ(watch.windows.size(), 1u);
    EXPECT_EQ(watch.windows[0].text, "Your hosts file could not be updated.");
    EXPECT_EQ(watch.windows[0].icon, QMessageBox::Critical);
    EXPECT_EQ(file_bytes("/etc/hosts"), before);
}

}  // namespace
