// Wine's registry file parser on any bytes: every key and value the file names is looked up,
// under ASan, and what is found must not change when the file is read again or grows a key of
// its own at its end. The quick look that passes over files without a key must see every ASCII
// name on the path of each key found.
#include "fuzz_check.h"
#include "registry/wine_registry_file.h"
#include "registry/ansi_code_page.h"
#include "registry/case_fold.h"
#include "registry/wine_escapes.h"
#include "registry/wine_key_name_scan.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t most_lookups = 16;
const std::u16string appended_key = u"ZZFUZZAPPENDED";

std::string_view without_leading_spaces(std::string_view line) {
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
        line.remove_prefix(1);
    }
    return line;
}

// A key line's path as the lookups name it.
std::u16string key_path(std::string_view line) {
    std::u16string raw;
    decode_escaped(line.substr(1), ']', raw);
    return folded_path(raw);
}

// The key paths and value names the file writes, as far as its lines tell.
void names_in(std::string_view bytes, std::vector<std::u16string>& keys,
              std::vector<std::u16string>& values) {
    keys.push_back(u"");
    values.push_back(u"");
    while (!bytes.empty() && (keys.size() < most_lookups || values.size() < most_lookups)) {
        const std::size_t end = bytes.find('\n');
        const std::string_view line = without_leading_spaces(bytes.substr(0, end));
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        if (line.empty()) {
            continue;
        }
        if (line[0] == '[' && keys.size() < most_lookups) {
            keys.push_back(key_path(line));
        } else if (line[0] == '"' && values.size() < most_lookups) {
            std::u16string name;
            decode_escaped(line.substr(1), '"', name);
            fold_case(name);
            values.push_back(name);
        }
    }
}

struct found_value {
    bool key;
    bool found;
    wine_registry_value value;
    std::u16string link;
};

found_value look_up(const Cwine_registry& registry, const std::u16string& key,
                    const std::u16string& name) {
    found_value result{};
    result.key = registry.has_key(key);
    result.found = registry.find_value(key, name, result.value);
    result.link = registry.link_target(key);
    return result;
}

bool same(const found_value& a, const found_value& b) {
    return a.key == b.key && a.found == b.found && a.link == b.link &&
           (!a.found || (a.value.type == b.value.type && a.value.data == b.value.data));
}

// A string turns into ANSI text of at most one byte per UTF-16 unit, whatever its bytes.
void check_shape(const found_value& result) {
    if (!result.found) {
        return;
    }
    const std::string& data = result.value.data;
    const std::uint32_t type = result.value.type;
    if (type == reg_sz || type == reg_expand_sz || type == reg_multi_sz) {
        static const Cansi_code_page western(1252);
        FUZZ_CHECK(western.from_utf16(data).size() <= data.size() / 2);
    }
}

// Every name on the key's path that is ASCII, as the quick look is asked for it.
void check_names_seen(const std::string& bytes, std::u16string_view key) {
    for (std::size_t from = 0; from < key.size();) {
        const std::size_t cut = std::min(key.find(u'\\', from), key.size());
        std::string name;
        for (const char16_t unit : key.substr(from, cut - from)) {
            name += unit < 0x80 ? static_cast<char>(unit) : '\0';
        }
        if (name.find('\0') == std::string::npos) {
            FUZZ_CHECK(may_hold_key_named(bytes, name));
        }
        from = cut + 1;
    }
}

// The file with one more key written after its last line. Directly after it, so that hex data
// still waiting for a continuation line meets that key line, as it met the end of the file.
std::string with_key_appended(const std::string& bytes) {
    const bool line_open = !bytes.empty() && bytes.back() != '\n';
    return bytes + (line_open ? "\n" : "") + "[ZzFuzzAppended] 1\n\"v\"=\"x\"\n";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const Cwine_registry registry(bytes);
    const Cwine_registry again(bytes);
    const Cwine_registry grown(with_key_appended(bytes));

    std::vector<std::u16string> keys, values;
    names_in(bytes, keys, values);
    FUZZ_CHECK(registry.is_win64() == again.is_win64());
    FUZZ_CHECK(registry.is_win64() == grown.is_win64());
    for (const std::u16string& key : keys) {
        if (registry.has_key(key)) {
            check_names_seen(bytes, key);
        }
        for (const std::u16string& name : values) {
            const found_value first = look_up(registry, key, name);
            check_shape(first);
            FUZZ_CHECK(same(first, look_up(again, key, name)));
            if (key != appended_key) {
                FUZZ_CHECK(same(first, look_up(grown, key, name)));
            }
        }
    }
    return 0;
}
