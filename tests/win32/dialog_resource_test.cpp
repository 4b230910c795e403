// The dialogs in the built ketrin_client.exe are the ones the C++ code describes: every field of
// both templates, read out of the program file, against the templates' data.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/main_dialog_template.h"
#include "fixtures/dialog_resource.h"
#include "fixtures/built_programs.h"
#include "login/login_dialog_template.h"

#include <cctype>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

// The bytes of one RT_DIALOG resource of the built program, or nothing.
std::vector<std::uint8_t> dialog_bytes(std::int32_t id) {
    const HMODULE program =
        LoadLibraryExW(built_program("KETRIN_CLIENT_EXE").c_str(), nullptr,
                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (program == nullptr) {
        return {};
    }
    std::vector<std::uint8_t> bytes;
    if (const HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(id), RT_DIALOG)) {
        const auto* data =
            static_cast<const std::uint8_t*>(LockResource(LoadResource(program, found)));
        bytes.assign(data, data + SizeofResource(program, found));
    }
    FreeLibrary(program);
    return bytes;
}

// Window class names compare without regard to case, as the platform compares them; the
// resource compiler writes them in capitals.
std::string upper_case(std::string name) {
    for (char& c : name) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return name;
}

class dialog_resource_matches_its_data : public testing::TestWithParam<const dialog_template*> {};

TEST_P(dialog_resource_matches_its_data, in_every_field_of_the_dialog_and_of_each_control) {
    const dialog_template& want = *GetParam();
    const std::vector<std::uint8_t> bytes = dialog_bytes(want.id);
    ASSERT_FALSE(bytes.empty()) << "no dialog " << want.id << " in the built program";
    const std::optional<dialog_resource> got = parse_dialog_resource(bytes.data(), bytes.size());
    ASSERT_TRUE(got.has_value());

    EXPECT_EQ(got->extended, want.extended);
    EXPECT_EQ(got->help_id, 0u);
    EXPECT_EQ(got->style, dialog_window_style(want));
    EXPECT_EQ(got->ex_style, want.ex_style);
    EXPECT_EQ((std::vector<int>{got->x, got->y, got->cx, got->cy}),
              (std::vector<int>{want.x, want.y, want.cx, want.cy}));
    EXPECT_EQ(got->menu, "");
    EXPECT_EQ(got->window_class, "");
    EXPECT_EQ(got->caption, want.caption);
    EXPECT_EQ(got->font_points, want.font_points);
    EXPECT_EQ(got->font_face, want.font_face);

    ASSERT_EQ(got->items.size(), want.control_count);
    for (std::size_t i = 0; i < want.control_count; ++i) {
        const dialog_control_template& control = want.controls[i];
        const dialog_resource_item& item = got->items[i];
        SCOPED_TRACE(control.name);
        EXPECT_EQ(item.id, static_cast<std::uint32_t>(control.id));
        EXPECT_EQ(upper_case(item.window_class), upper_case(control.window_class));
        EXPECT_EQ(item.style, control_window_style(control));
        EXPECT_EQ(item.ex_style, control.ex_style);
        EXPECT_EQ((std::vector<int>{item.x, item.y, item.cx, item.cy}),
                  (std::vector<int>{control.x, control.y, control.cx, control.cy}));
        EXPECT_EQ(item.title, control.text);
        EXPECT_EQ(item.help_id, 0u);
        EXPECT_EQ(item.creation_data_size, 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(both_templates, dialog_resource_matches_its_data,
                         testing::Values(&main_dialog_template, &login_dialog_template),
                         [](const testing::TestParamInfo<const dialog_template*>& info) {
                             return info.param->extended ? "login_dialog" : "main_dialog";
                         });

}  // namespace
