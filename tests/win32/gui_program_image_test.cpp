// Reads ketrin_client.exe as a user receives it: one file that needs nothing beside it but
// Windows itself, and a manifest that asks for no elevation and for the themed common controls.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

// CTest names the built program by its Unix path; Wine shows the Unix root as drive Z:.
std::string built_program() {
    const char* path = std::getenv("KETRIN_CLIENT_EXE");
    std::string windows_path = "Z:";
    for (const char* c = path != nullptr ? path : ""; *c != '\0'; ++c) {
        windows_path += *c == '/' ? '\\' : *c;
    }
    return windows_path;
}

// The headers of a 64-bit program file, read without loading it.
class Cprogram_image {
  public:
    explicit Cprogram_image(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        IMAGE_DOS_HEADER dos{};
        valid_ = read(0, dos) && dos.e_magic == IMAGE_DOS_SIGNATURE && read(dos.e_lfanew, nt_) &&
                 nt_.Signature == IMAGE_NT_SIGNATURE &&
                 nt_.OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC;
        std::size_t offset = static_cast<std::size_t>(dos.e_lfanew) +
                             offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                             nt_.FileHeader.SizeOfOptionalHeader;
        sections_.resize(valid_ ? nt_.FileHeader.NumberOfSections : 0);
        for (IMAGE_SECTION_HEADER& section : sections_) {
            valid_ = valid_ && read(offset, section);
            offset += sizeof section;
        }
    }

    bool valid() const { return valid_; }
    WORD subsystem() const { return nt_.OptionalHeader.Subsystem; }

    // The libraries named by one import directory (ordinary or delay-load), in lower case.
    std::vector<std::string> libraries(int directory_entry) const {
        std::vector<std::string> names;
        const std::size_t descriptor_size = directory_entry == IMAGE_DIRECTORY_ENTRY_IMPORT
                                                ? sizeof(IMAGE_IMPORT_DESCRIPTOR)
                                                : sizeof(IMAGE_DELAYLOAD_DESCRIPTOR);
        const std::size_t name_field = directory_entry == IMAGE_DIRECTORY_ENTRY_IMPORT
                                           ? offsetof(IMAGE_IMPORT_DESCRIPTOR, Name)
                                           : offsetof(IMAGE_DELAYLOAD_DESCRIPTOR, DllNameRVA);
        std::size_t offset = file_offset(directory(directory_entry).VirtualAddress);
        DWORD name = 0;
        while (offset != 0 && read(offset + name_field, name) && name != 0) {
            names.push_back(text_at(file_offset(name)));
            offset += descriptor_size;
        }
        return names;
    }

  private:
    template <class T>
    bool read(std::size_t offset, T& value) const {
        if (offset > bytes_.size() || bytes_.size() - offset < sizeof value) {
            return false;
        }
        std::memcpy(&value, bytes_.data() + offset, sizeof value);
        return true;
    }

    IMAGE_DATA_DIRECTORY directory(int entry) const {
        return nt_.OptionalHeader.NumberOfRvaAndSizes > static_cast<DWORD>(entry)
                   ? nt_.OptionalHeader.DataDirectory[entry]
                   : IMAGE_DATA_DIRECTORY{};
    }

    // Where an address of the loaded image lies in the file; 0 when no section holds it.
    std::size_t file_offset(DWORD address) const {
        for (const IMAGE_SECTION_HEADER& section : sections_) {
            if (address >= section.VirtualAddress &&
                address - section.VirtualAddress < section.SizeOfRawData) {
                return address - section.VirtualAddress + section.PointerToRawData;
            }
        }
        return 0;
    }

    std::string text_at(std::size_t offset) const {
        std::string text;
        for (char c; offset != 0 && read(offset + text.size(), c) && c != '\0';) {
            text += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        return text;
    }

    std::vector<char> bytes_;
    IMAGE_NT_HEADERS64 nt_{};
    std::vector<IMAGE_SECTION_HEADER> sections_;
    bool valid_ = false;
};

// What the program truly needs, all part of Windows: dialogs and drawing, the IP-address
// control, the registry, the shell, sockets, and the C runtime that Windows carries. The MinGW
// runtimes (libstdc++-6, libgcc_s_seh-1, libwinpthread-1) are linked in, never imported.
const std::set<std::string> system_libraries = {
    "kernel32.dll", "user32.dll",  "gdi32.dll",  "comctl32.dll",
    "advapi32.dll", "shell32.dll", "ws2_32.dll", "msvcrt.dll",
};

TEST(program_image, is_a_gui_program_that_imports_only_system_libraries) {
    const Cprogram_image image(built_program());
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
    const HMODULE program =
        LoadLibraryExA(built_program().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr) << built_program();
    const HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(1), RT_MANIFEST);
    ASSERT_NE(found, nullptr);
    const char* data = static_cast<const char*>(LockResource(LoadResource(program, found)));
    const std::string manifest(data, SizeofResource(program, found));
    FreeLibrary(program);

    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    const std::size_t controls = manifest.find("name=\"Microsoft.Windows.Common-Controls\"");
    ASSERT_NE(controls, std::string::npos);
    const std::size_t identity_end = manifest.find("/>", controls);
    EXPECT_NE(manifest.substr(controls, identity_end - controls).find("version=\"6.0.0.0\""),
              std::string::npos);
}

}  // namespace
