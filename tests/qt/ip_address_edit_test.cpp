#include "qt/ip_address_edit.h"

#include "qt/qt_test_support.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(ip_address_edit, shows_the_first_field_from_the_highest_byte) {
    const struct {
        std::uint32_t value;
        const char* shown;
    } cases[] = {
        {0x0A141E28, "10.20.30.40"},
        {0xFFFFFFFF, "255.255.255.255"},
        {0x00000000, "0.0.0.0"},
        {0xC0A80001, "192.168.0.1"},
    };
    for (const auto& c : cases) {
        Cip_address_edit edit;
        edit.set_address(c.value);
        EXPECT_EQ(edit.text(), c.shown);
        EXPECT_EQ(edit.address(), c.value) << c.shown;
    }
}

TEST(ip_address_edit, typed_addresses_read_as_the_windows_control_reads_them) {
    const struct {
        const char* typed;
        const char* shown;
        std::uint32_t value;
    } cases[] = {
        {"10.20.30.40", "10.20.30.40", 0x0A141E28},
        {"1921681", "192.168.1.", 0xC0A80100},  // three digits move on; blank reads as 0
        {"300.1", "255.1..", 0xFF010000},       // above 255 becomes 255
        {"", "...", 0},
        {"7..8", "7.8..", 0x07080000},  // a dot in a blank field does not skip it
    };
    for (const auto& c : cases) {
        Cip_address_edit edit;
        edit.show();
        settle();
        QLineEdit* first = edit.findChildren<QLineEdit*>().at(0);
        first->setFocus();
        for (const char ch : std::string(c.typed)) {
            QTest::keyClick(edit.focusWidget(), ch);
        }
        EXPECT_EQ(edit.text(), c.shown) << c.typed;
        EXPECT_EQ(edit.address(), c.value) << c.typed;
    }
}

}  // namespace
