// The dialog-resource reader that the Windows test of the built program relies on, on templates
// laid out by hand: the layouts the resource compiler does not happen to write (ordinal classes,
// a DIALOGEX item's 32-bit fields, creation data) and input cut short.
#include "fixtures/dialog_resource.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

class Cbytes {
  public:
    Cbytes& word(std::uint16_t value) {
        bytes.push_back(static_cast<std::uint8_t>(value));
        bytes.push_back(static_cast<std::uint8_t>(value >> 8));
        return *this;
    }
    Cbytes& dword(std::uint32_t value) {
        return word(static_cast<std::uint16_t>(value))
            .word(static_cast<std::uint16_t>(value >> 16));
    }
    Cbytes& text(const std::string& value) {
        for (char c : value) {
            word(static_cast<unsigned char>(c));
        }
        return word(0);
    }
    Cbytes& align() {
        while (bytes.size() % 4 != 0) {
            bytes.push_back(0);
        }
        return *this;
    }
    std::vector<std::uint8_t> bytes;
};

// A DIALOGEX with a font, a menu and a class by ordinal, and two items: a push button by
// ordinal class with creation data, and a control of a registered class by name.
std::vector<std::uint8_t> extended_dialog() {
    Cbytes b;
    b.word(1).word(0xFFFF).dword(7).dword(0x100).dword(0x80C800C0).word(2);
    b.word(1).word(2).word(300).word(200);
    b.word(0xFFFF).word(5).word(0xFFFF).word(9).text("Caption");
    b.word(9).word(700).bytes.push_back(1);
    b.bytes.push_back(1);
    b.text("Face");
    b.align().dword(11).dword(0x20).dword(0x50010001).word(3).word(4).word(50).word(14);
    b.dword(0x12345).word(0xFFFF).word(0x80).text("OK").word(2).word(0xABCD);
    b.align().dword(0).dword(0).dword(0x50000000).word(5).word(6).word(7).word(8);
    b.dword(42).text("SysIPAddress32").word(0xFFFF).word(3).word(0);
    return b.bytes;
}

TEST(dialog_resource_reader, reads_every_field_of_a_dialogex_and_its_items) {
    const std::vector<std::uint8_t> bytes = extended_dialog();
    const std::optional<dialog_resource> d = parse_dialog_resource(bytes.data(), bytes.size());
    ASSERT_TRUE(d.has_value());
    EXPECT_TRUE(d->extended);
    EXPECT_EQ((std::vector<std::uint32_t>{d->help_id, d->ex_style, d->style}),
              (std::vector<std::uint32_t>{7, 0x100, 0x80C800C0}));
    EXPECT_EQ((std::vector<int>{d->x, d->y, d->cx, d->cy}), (std::vector<int>{1, 2, 300, 200}));
    EXPECT_EQ(d->menu, "#5");
    EXPECT_EQ(d->window_class, "#9");
    EXPECT_EQ(d->caption, "Caption");
    EXPECT_EQ((std::vector<int>{d->font_points, d->font_weight, d->font_italic, d->font_charset}),
              (std::vector<int>{9, 700, 1, 1}));
    EXPECT_EQ(d->font_face, "Face");

    ASSERT_EQ(d->items.size(), 2u);
    const dialog_resource_item& ok = d->items[0];
    EXPECT_EQ((std::vector<std::uint32_t>{ok.help_id, ok.ex_style, ok.style, ok.id}),
              (std::vector<std::uint32_t>{11, 0x20, 0x50010001, 0x12345}));
    EXPECT_EQ((std::vector<int>{ok.x, ok.y, ok.cx, ok.cy}), (std::vector<int>{3, 4, 50, 14}));
    EXPECT_EQ(ok.window_class, "Button");
    EXPECT_EQ(ok.title, "OK");
    EXPECT_EQ(ok.creation_data_size, 2u);
    const dialog_resource_item& address = d->items[1];
    EXPECT_EQ(address.id, 42u);
    EXPECT_EQ(address.window_class, "SysIPAddress32");
    EXPECT_EQ(address.title, "#3");
}

TEST(dialog_resource_reader, reads_a_dialog_without_a_font_and_its_16_bit_item_ids) {
    Cbytes b;
    b.dword(0x10C80000).dword(0x40000).word(1).word(0).word(0).word(80).word(40);
    b.word(0).word(0).text("");
    b.align().dword(0x50000000).dword(0).word(1).word(2).word(3).word(4).word(1005);
    b.word(0xFFFF).word(0x85).word(0).word(0);
    const std::optional<dialog_resource> d = parse_dialog_resource(b.bytes.data(), b.bytes.size());
    ASSERT_TRUE(d.has_value());
    EXPECT_FALSE(d->extended);
    EXPECT_EQ(d->style, 0x10C80000u);
    EXPECT_EQ(d->ex_style, 0x40000u);
    EXPECT_EQ(d->font_face, "");
    ASSERT_EQ(d->items.size(), 1u);
    EXPECT_EQ(d->items[0].style, 0x50000000u);
    EXPECT_EQ(d->items[0].id, 1005u);
    EXPECT_EQ(d->items[0].window_class, "ComboBox");
    EXPECT_EQ(d->items[0].title, "");
}

TEST(dialog_resource_reader, reads_nothing_from_a_template_cut_short_anywhere) {
    const std::vector<std::uint8_t> bytes = extended_dialog();
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        EXPECT_FALSE(parse_dialog_resource(bytes.data(), size).has_value()) << size;
    }
}

}  // namespace
