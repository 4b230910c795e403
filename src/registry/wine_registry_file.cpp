#include "registry/wine_registry_file.h"

#include "registry/case_fold.h"
#include "registry/wine_escapes.h"

#include <cstring>
#include <utility>

namespace {

constexpr std::string_view file_header = "WINE REGISTRY Version 2";

bool is_space(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

bool is_hex_digit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

unsigned hex_value(char c) {
    return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
}

std::string_view skip_spaces(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && is_space(text[i])) {
        ++i;
    }
    return text.substr(i);
}

// The line that starts at `pos` (without its line end); moves `pos` to the next line.
std::string_view next_line(const std::string& bytes, std::size_t& pos, std::size_t end) {
    const char* start = bytes.data() + pos;
    const void* newline = std::memchr(start, '\n', end - pos);
    const std::size_t length =
        newline != nullptr ? static_cast<const char*>(newline) - start : end - pos;
    pos += newline != nullptr ? length + 1 : length;
    std::string_view line(start, length);
    while (!line.empty() && is_space(line.back())) {
        line.remove_suffix(1);
    }
    return line;
}

// A value line up to the start of its data: its name, and the text after the '='.
bool split_value_line(std::string_view line, std::u16string& name, std::string_view& data) {
    name.clear();
    std::size_t used = 1;
    if (line[0] == '"') {
        used = decode_escaped(line.substr(1), '"', name);
        if (used == std::string_view::npos) {
            return false;
        }
        ++used;
    }
    data = skip_spaces(line.substr(used));
    if (data.empty() || data[0] != '=') {
        return false;
    }
    data = skip_spaces(data.substr(1));
    return true;
}

bool is_hex_data(std::string_view data) {
    return data.substr(0, 3) == "hex";
}

// Hex bytes "61,62,\" with continuation lines, as Wine reads them.
bool parse_hex(const std::string& bytes, std::string_view data, std::size_t& pos, std::size_t end,
               std::string& out) {
    for (;;) {
        std::size_t i = 0;
        while (i < data.size() && is_hex_digit(data[i])) {
            unsigned value = 0;
            for (; i < data.size() && is_hex_digit(data[i]); ++i) {
                value = value * 16 + hex_value(data[i]);
                if (value > 0xFF) {
                    return false;
                }
            }
            out += static_cast<char>(value);
            while (i < data.size() && is_space(data[i])) {
                ++i;
            }
            if (i < data.size() && data[i] == ',') {
                ++i;
            }
            while (i < data.size() && is_space(data[i])) {
                ++i;
            }
        }
        if (i == data.size()) {
            return true;
        }
        if (data[i] != '\\' || pos >= end) {
            return false;
        }
        data = skip_spaces(next_line(bytes, pos, end));
    }
}

// strtoul in base 16 as a 64-bit Wine server runs it, then cut to the 32 bits a DWORD holds.
std::uint32_t parse_dword(std::string_view data) {
    data = skip_spaces(data);
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < data.size() && is_hex_digit(data[i]); ++i) {
        value = value > (UINT64_MAX >> 4) ? UINT64_MAX : value * 16 + hex_value(data[i]);
    }
    return static_cast<std::uint32_t>(value);
}

void append_utf16le(const std::u16string& text, std::string& out) {
    for (const char16_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
}

bool parse_data(const std::string& bytes, std::string_view data, std::size_t& pos, std::size_t end,
                wine_registry_value& value) {
    static constexpr struct {
        std::string_view tag;
        std::uint32_t type;
    } string_tags[] = {{"\"", reg_sz},
                       {"str:\"", reg_sz},
                       {"str(2):\"", reg_expand_sz},
                       {"str(7):\"", reg_multi_sz}};
    value.data.clear();
    for (const auto& [tag, type] : string_tags) {
        if (data.substr(0, tag.size()) == tag) {
            std::u16string text;
            if (decode_escaped(data.substr(tag.size()), '"', text) == std::string_view::npos) {
                return false;
            }
            text += u'\0';
            value.type = type;
            append_utf16le(text, value.data);
            return true;
        }
    }
    if (data.substr(0, 6) == "dword:") {
        const std::uint32_t number = parse_dword(data.substr(6));
        value.type = reg_dword;
        for (int shift = 0; shift < 32; shift += 8) {
            value.data += static_cast<char>((number >> shift) & 0xFF);
        }
        return true;
    }
    if (data.substr(0, 4) == "hex:") {
        value.type = reg_binary;
        return parse_hex(bytes, data.substr(4), pos, end, value.data);
    }
    if (data.substr(0, 4) == "hex(") {
        std::size_t i = 4;
        std::uint64_t type = 0;
        for (; i < data.size() && is_hex_digit(data[i]); ++i) {
            type = type > (UINT64_MAX >> 4) ? UINT64_MAX : type * 16 + hex_value(data[i]);
        }
        if (i == 4 || data.substr(i, 2) != "):") {
            return false;
        }
        value.type = static_cast<std::uint32_t>(type);
        return parse_hex(bytes, data.substr(i + 2), pos, end, value.data);
    }
    return false;
}

// Most names are written plainly: ASCII, "\\\\" between components, nothing else escaped. Those
// are read and folded in one pass; false for any other.
bool parse_plain_key_path(std::string_view line, std::u16string& path) {
    path.resize(line.size());
    std::size_t size = 0;
    for (std::size_t i = 1; i < line.size(); ++i) {
        const char c = line[i];
        if (c == ']') {
            size -= size > 0 && path[size - 1] == u'\\';
            path.resize(size);
            return true;
        }
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
        if (c != '\\') {
            path[size++] = c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
            continue;
        }
        if (i + 1 == line.size() || line[++i] != '\\') {
            return false;
        }
        if (size > 0 && path[size - 1] != u'\\') {
            path[size++] = u'\\';
        }
    }
    return false;
}

// A key line's path: decoded and folded; false when it cannot be read.
bool parse_key_path(std::string_view line, std::u16string& decoded, std::u16string& path) {
    if (parse_plain_key_path(line, path)) {
        return true;
    }
    decoded.clear();
    if (decode_escaped(line.substr(1), ']', decoded) == std::string_view::npos) {
        return false;
    }
    fold_path(decoded, path);
    return true;
}

// A value line whose hex data runs on into the next line.
bool starts_hex_run(std::string_view line) {
    std::u16string name;
    std::string_view data;
    return (line[0] == '"' || line[0] == '@') && line.back() == '\\' &&
           split_value_line(line, name, data) && is_hex_data(data);
}

}  // namespace

Cwine_registry::Cwine_registry(std::string bytes) : bytes_(std::move(bytes)) {
    keys_.reserve(bytes_.size() / 128);
    keys_.emplace(u"", 0);
    chains_.emplace_back();
    const std::size_t end = bytes_.size();
    if (bytes_.compare(0, file_header.size(), file_header) != 0) {
        return;
    }
    std::size_t pos = 0;
    next_line(bytes_, pos, end);
    std::uint32_t key = no_key;  // whose values the lines are; none before the first key line
    bool in_preamble = true;
    bool continued = false;  // whether the line is hex data run on from the one before
    std::u16string decoded, path, previous;  // previous: the last key line's path
    while (pos < end) {
        const std::size_t line_begin = pos;
        const std::string_view line = skip_spaces(next_line(bytes_, pos, end));
        if (continued) {
            continued = !line.empty() && line.back() == '\\';
        } else if (!line.empty() && line[0] == '[') {
            if (key != no_key) {
                bodies_.back().end = line_begin;
            }
            in_preamble = false;
            // A key line that cannot be read takes its values with it, as Wine skips them.
            key = parse_key_path(line, decoded, path) ? add_key(path, previous) : no_key;
            if (key != no_key) {
                add_body(key, pos, end);
                previous = path;
            }
        } else if (in_preamble && line == "#arch=win64") {
            win64_ = true;
        } else if (!line.empty()) {
            continued = starts_hex_run(line);
        }
    }
}

std::uint32_t Cwine_registry::add_key(const std::u16string& path, const std::u16string& previous) {
    const auto [at, added] = keys_.try_emplace(path, static_cast<std::uint32_t>(chains_.size()));
    if (!added) {
        return at->second;
    }
    chains_.emplace_back();
    // The keys above it exist too. In Wine's order they mostly lie above the key written before,
    // which exist already; otherwise the climb stops at the nearest one known.
    const std::size_t cut = path.rfind(u'\\');
    const std::size_t parent_size = cut == std::u16string::npos ? 0 : cut;
    if (previous.compare(0, parent_size, path, 0, parent_size) == 0 &&
        (previous.size() == parent_size || previous[parent_size] == u'\\')) {
        return at->second;
    }
    for (std::u16string parent = path.substr(0, parent_size);; parent.resize(parent.rfind(u'\\'))) {
        if (!keys_.try_emplace(parent, static_cast<std::uint32_t>(chains_.size())).second) {
            break;
        }
        chains_.emplace_back();
        if (parent.find(u'\\') == std::u16string::npos) {
            break;  // the root exists from the start
        }
    }
    return at->second;
}

void Cwine_registry::add_body(std::uint32_t key, std::size_t begin, std::size_t end) {
    const auto index = static_cast<std::uint32_t>(bodies_.size());
    bodies_.push_back({begin, end, no_key});
    chain& lines = chains_[key];
    (lines.last == no_key ? lines.first : bodies_[lines.last].next) = index;
    lines.last = index;
}

std::uint32_t Cwine_registry::find_key(std::u16string_view folded_path) const {
    const auto at = keys_.find(std::u16string(folded_path));
    return at != keys_.end() ? at->second : no_key;
}

template <typename Visit>
void Cwine_registry::for_each_value_line(std::uint32_t key, Visit visit) const {
    if (key >= chains_.size()) {
        return;
    }
    for (std::uint32_t at = chains_[key].first; at != no_key; at = bodies_[at].next) {
        const body& lines = bodies_[at];
        for (std::size_t pos = lines.begin; pos < lines.end;) {
            const std::string_view line = skip_spaces(next_line(bytes_, pos, lines.end));
            if (!line.empty()) {
                visit(line, pos, lines.end);
            }
        }
    }
}

bool Cwine_registry::find_value(std::uint32_t key, std::u16string_view folded_name,
                                wine_registry_value& value) const {
    bool found = false;
    std::u16string name;
    wine_registry_value candidate;
    for_each_value_line(key, [&](std::string_view line, std::size_t& pos, std::size_t end) {
        std::string_view data;
        if ((line[0] != '"' && line[0] != '@') || !split_value_line(line, name, data)) {
            return;
        }
        fold_case(name);
        if (name != folded_name) {
            // Step over the continuation lines of hex data that is not wanted.
            std::string ignored;
            if (is_hex_data(data)) {
                parse_hex(bytes_, data.substr(data.find(':') + 1), pos, end, ignored);
            }
            return;
        }
        if (parse_data(bytes_, data, pos, end, candidate)) {
            value = candidate;
            found = true;
        }
    });
    return found;
}

std::u16string Cwine_registry::link_target(std::uint32_t key) const {
    bool is_link = false;
    for_each_value_line(key, [&](std::string_view line, std::size_t&, std::size_t) {
        is_link = is_link || line == "#link";
    });
    wine_registry_value value;
    std::u16string target;
    if (is_link && find_value(key, u"SYMBOLICLINKVALUE", value) && value.type == reg_link) {
        for (std::size_t i = 0; i + 1 < value.data.size(); i += 2) {
            target += static_cast<char16_t>(static_cast<unsigned char>(value.data[i]) |
                                            static_cast<unsigned char>(value.data[i + 1]) << 8);
        }
    }
    return target;
}
