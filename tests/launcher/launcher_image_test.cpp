// Reads launcher.exe's headers: what kind of program it is and what it needs, without running it.
#include <windows.h>

#include <gtest/gtest.h>

#include "fixtures/pe_image.h"
#include "fixtures/built_programs.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

class launcher_image : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(image_.valid()) << narrow(launcher_program()); }

    const Cpe_image image_{narrow(launcher_program())};
};

TEST_F(launcher_image, is_a_gui_program_without_resources) {
    EXPECT_EQ(image_.subsystem(), IMAGE_SUBSYSTEM_WINDOWS_GUI);
    const IMAGE_DATA_DIRECTORY resources = image_.directory(IMAGE_DIRECTORY_ENTRY_RESOURCE);
    EXPECT_EQ(resources.VirtualAddress, 0u);
    EXPECT_EQ(resources.Size, 0u);
    for (const IMAGE_SECTION_HEADER& section : image_.sections()) {
        EXPECT_NE(std::string(reinterpret_cast<const char*>(section.Name), 5), ".rsrc");
    }
}

// A program that links no window library cannot show a window, display or not.
TEST_F(launcher_image, links_only_the_kernel_and_the_c_runtime) {
    const std::vector<std::string> libraries = image_.libraries(IMAGE_DIRECTORY_ENTRY_IMPORT);
    EXPECT_NE(std::find(libraries.begin(), libraries.end(), "kernel32.dll"), libraries.end());
    for (const std::string& library : libraries) {
        EXPECT_TRUE(library == "kernel32.dll" || library == "msvcrt.dll" ||
                    library.rfind("api-ms-win-crt-", 0) == 0)
            << library;
    }
}

}  // namespace
