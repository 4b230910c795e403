// Reads ketrin_client.exe as a user receives it: one file that needs nothing beside it but
// Windows itself, and a manifest that asks for no elevation and for the themed common controls.
#include <windows.h>

#include <gtest/gtest.h>

#include "fixtures/pe_image.h"
#include "fixtures/wine_path.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

// CTest names the built program by its Unix path.
std::string built_program() {
    const char* path = std::getenv("KETRIN_CLIENT_EXE");
    return wine_path(path != nullptr ? path : "");
}

// What the program truly needs, all part of Windows: dialogs and drawing, the IP-address
// control, the registry, the shell, sockets, and the C runtime that Windows carries. The MinGW
// runtimes (libstdc++-6, libgcc_s_seh-1, libwinpthread-1) are linked in, never imported.
const std::set<std::string> system_libraries = {
    "kernel32.dll", "user32.dll",  "gdi32.dll",  "comctl32.dll",
    "advapi32.dll", "shell32.dll", "ws2_32.dll", "msvcrt.dll",
};

TEST(program_image, is_a_gui_program_that_imports_only_system_libraries) {
    const Cpe_image image(built_program());
    ASSERT_TRUE(image.valid()) << built_program();
    EXPECT_EQ(image.subsystem(), IMAGE_SUBSYSTEM_WINDOWS_GUI);

    const std::vector<std::string> imported = image.libraries(IMAGE_DIRECTORY_ENTRY_IMPORT);
    EXPECT_NE(std::find(imported.begin(), imported.end(), "user32.dll"), imported.end());
    for (const std::string& library : imported) {
        EXPECT_EQ(system_libraries.count(library), 1u) << library;
    }
    EXPECT_EQ(image.libraries(IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT), std::vector<std::string>{});
}

TEST(program_image, manifest_asks_for_no_elevation_and_the_version_6_common_controls) {
    const std::string manifest = program_manifest(built_program());
    ASSERT_FALSE(manifest.empty()) << built_program();

    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    const std::size_t controls = manifest.find("name=\"Microsoft.Windows.Common-Controls\"");
    ASSERT_NE(controls, std::string::npos);
    const std::size_t identity_end = manifest.find("/>", controls);
    EXPECT_NE(manifest.substr(controls, identity_end - controls).find("version=\"6.0.0.0\""),
              std::string::npos);
}

TEST(program_image, manifest_declares_system_dpi_awareness_and_windows_7_to_11) {
    const std::string manifest = program_manifest(built_program());
    ASSERT_FALSE(manifest.empty()) << built_program();

    EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos);
    EXPECT_NE(manifest.find(">system</dpiAwareness>"), std::string::npos);
    for (const char* windows : {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",     // 7
                                "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",     // 8
                                "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",     // 8.1
                                "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {  // 10 and 11
        EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"") + windows + "\"/>"),
                  std::string::npos)
            << windows;
    }
}

}  // namespace
