// Reads launcher.exe's headers: what kind of program it is and what it needs, without running it.
#include <windows.h>

#include <gtest/gtest.h>

#include "launcher/built_programs.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

class launcher_image : public testing::Test {
  protected:
    void SetUp() override {
        std::ifstream file(narrow(launcher_program()), std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        IMAGE_DOS_HEADER dos;
        ASSERT_TRUE(read(0, dos)) << narrow(launcher_program());
        ASSERT_EQ(dos.e_magic, IMAGE_DOS_SIGNATURE);
        ASSERT_TRUE(read(dos.e_lfanew, nt_));
        ASSERT_EQ(nt_.Signature, static_cast<DWORD>(IMAGE_NT_SIGNATURE));
        ASSERT_EQ(nt_.OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR64_MAGIC);
        std::size_t offset = dos.e_lfanew + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                             nt_.FileHeader.SizeOfOptionalHeader;
        sections_.resize(nt_.FileHeader.NumberOfSections);
        for (IMAGE_SECTION_HEADER& section : sections_) {
            ASSERT_TRUE(read(offset, section));
            offset += sizeof section;
        }
    }

    template <class T>
    bool read(std::size_t offset, T& value) const {
        if (offset > bytes_.size() || bytes_.size() - offset < sizeof value) {
            return false;
        }
        std::memcpy(&value, bytes_.data() + offset, sizeof value);
        return true;
    }

    IMAGE_DATA_DIRECTORY directory(int entry) const {
        if (nt_.OptionalHeader.NumberOfRvaAndSizes <= static_cast<DWORD>(entry)) {
            return {};
        }
        return nt_.OptionalHeader.DataDirectory[entry];
    }

    // Where an address of the loaded image lies in the file; 0 when no section holds it.
    std::size_t file_offset(DWORD address) const {
        for (const IMAGE_SECTION_HEADER& section : sections_) {
            const DWORD extent = std::max(section.Misc.VirtualSize, section.SizeOfRawData);
            if (address >= section.VirtualAddress && address - section.VirtualAddress < extent) {
                return address - section.VirtualAddress + section.PointerToRawData;
            }
        }
        return 0;
    }

    std::vector<std::string> imported_libraries() const {
        std::vector<std::string> names;
        std::size_t offset = file_offset(directory(IMAGE_DIRECTORY_ENTRY_IMPORT).VirtualAddress);
        IMAGE_IMPORT_DESCRIPTOR import;
        while (offset != 0 && read(offset, import) && import.Name != 0) {
            const std::size_t name = file_offset(import.Name);
            std::string text;
            for (char c; name != 0 && read(name + text.size(), c) && c != '\0';) {
                text += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            }
            names.push_back(text);
            offset += sizeof import;
        }
        return names;
    }

    std::vector<char> bytes_;
    IMAGE_NT_HEADERS64 nt_ = {};
    std::vector<IMAGE_SECTION_HEADER> sections_;
};

TEST_F(launcher_image, is_a_gui_program_without_resources) {
    EXPECT_EQ(nt_.OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
    const IMAGE_DATA_DIRECTORY resources = directory(IMAGE_DIRECTORY_ENTRY_RESOURCE);
    EXPECT_EQ(resources.VirtualAddress, 0u);
    EXPECT_EQ(resources.Size, 0u);
    for (const IMAGE_SECTION_HEADER& section : sections_) {
        EXPECT_NE(std::string(reinterpret_cast<const char*>(section.Name), 5), ".rsrc");
    }
}

// A program that links no window library cannot show a window, display or not.
TEST_F(launcher_image, links_only_the_kernel_and_the_c_runtime) {
    const std::vector<std::string> libraries = imported_libraries();
    EXPECT_NE(std::find(libraries.begin(), libraries.end(), "kernel32.dll"), libraries.end());
    for (const std::string& library : libraries) {
        EXPECT_TRUE(library == "kernel32.dll" || library == "msvcrt.dll" ||
                    library.rfind("api-ms-win-crt-", 0) == 0)
            << library;
    }
}

}  // namespace
