// The ANSI code-page conversion on any bytes, in single-byte and double-byte code pages (the
// input's first byte picks one): ANSI bytes make at most one UTF-16 unit each, exactly one in a
// single-byte code page; a byte the code page defines comes back from its character; UTF-16
// makes at most two bytes a unit, one in a single-byte code page.
#include "fuzz_check.h"
#include "registry/ansi_code_page.h"
#include "registry/wine_escapes.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace {

struct code_page_kind {
    std::uint32_t number;
    bool single_byte;
};
constexpr code_page_kind code_pages[] = {{1252, true}, {1251, true}, {1250, true}, {437, true},
                                         {932, false}, {936, false}, {949, false}, {950, false}};
constexpr std::size_t code_page_count = sizeof code_pages / sizeof code_pages[0];

const Cansi_code_page& converter(std::size_t which) {
    static std::unique_ptr<Cansi_code_page> made[code_page_count];
    if (made[which] == nullptr) {
        made[which] = std::make_unique<Cansi_code_page>(code_pages[which].number);
    }
    return *made[which];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t which = data[0] % code_page_count;
    const Cansi_code_page& code_page = converter(which);
    const bool single_byte = code_pages[which].single_byte;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    const std::u16string text = code_page.to_utf16(bytes);
    FUZZ_CHECK(single_byte ? text.size() == bytes.size() : text.size() <= bytes.size());
    if (single_byte) {
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (text[i] != u'?') {
                FUZZ_CHECK(code_page.from_utf16(utf16le_bytes(text.substr(i, 1))) ==
                           bytes.substr(i, 1));
            }
        }
    }
    // The same bytes read as UTF-16LE.
    const std::string ansi = code_page.from_utf16(bytes);
    FUZZ_CHECK(ansi.size() <= (single_byte ? 1 : 2) * (bytes.size() / 2));
    return 0;
}
