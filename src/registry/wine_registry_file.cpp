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
    return hex_digit_value(c) >= 0;
}

// Where the spaces from text[i] on end.
std::size_t after_spaces(std::string_view text, std::size_t i) {
    while (i < text.size() && is_space(text[i])) {
        ++i;
    }
    return i;
}

std::string_view skip_spaces(std::string_view text) {
    return text.substr(after_spaces(text, 0));
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
                value = value * 16 + hex_digit_value(data[i]);
                if (value > 0xFF) {
                    return false;
                }
            }
            out += static_cast<char>(value);
            i = after_spaces(data, i);
            i = after_spaces(data, i + (i < data.size() && data[i] == ','));
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

// Hex digits from data[i] on, read as strtoul reads them on a 64-bit Wine server (too large
// stays at the largest); moves `i` past them.
std::uint64_t read_hex_number(std::string_view data, std::size_t& i) {
    std::uint64_t value = 0;
    for (; i < data.size() && is_hex_digit(data[i]); ++i) {
        value = value > (UINT64_MAX >> 4) ? UINT64_MAX : value * 16 + hex_digit_value(data[i]);
    }
    return value;
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
        std::size_t i = 0;
        // Cut to the 32 bits a DWORD holds.
        const auto number =
            static_cast<std::uint32_t>(read_hex_number(skip_spaces(data.substr(6)), i));
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
        const std::uint64_t type = read_hex_number(data, i);
        if (i == 4 || data.substr(i, 2) != "):") {
            return false;
        }
        value.type = static_cast<std::uint32_t>(type);
        return parse_hex(bytes, data.substr(i + 2), pos, end, value.data);
    }
    return false;
}

constexpr std::size_t not_plain = std::string_view::npos;

// Most key names are written plainly: ASCII, "\\\\" between components, nothing else escaped.
// Those are decoded and folded in one pass, the dearest part of reading a file, into `path`, with
// room for written.size() units; gives the path's size, or not_plain for any other name.
std::size_t read_plain_key_path(std::string_view written, char16_t* path) {
    std::size_t size = 0;
    for (std::size_t i = 0; i < written.size(); ++i) {
        const char c = written[i];
        if (c == ']') {
            return size > 0 && path[size - 1] == u'\\' ? size - 1 : size;
        }
        if (static_cast<unsigned char>(c) >= 0x80 ||
            (c == '\\' && written.substr(i, 2) != "\\\\")) {
            return not_plain;
        }
        if (c != '\\') {
            path[size++] = fold_case(static_cast<char16_t>(c));
            continue;
        }
        ++i;  // the pair's second backslash
        if (size > 0 && path[size - 1] != u'\\') {
            path[size++] = u'\\';
        }
    }
    return not_plain;
}

// Whether the key at `path` is the one at `ancestor` or lies below it.
bool lies_within(std::u16string_view path, std::u16string_view ancestor) {
    return path.substr(0, ancestor.size()) == ancestor &&
           (path.size() == ancestor.size() || path[ancestor.size()] == u'\\');
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
    // About one key in every 128 bytes of a real prefix's files.
    keys_.reserve(bytes_.size() / 128);
    newest_lines_.reserve(bytes_.size() / 128);
    lines_.reserve(bytes_.size() / 128);
    keys_.emplace(u"", 0);
    newest_lines_.push_back(no_lines);
    const std::size_t end = bytes_.size();
    if (bytes_.compare(0, file_header.size(), file_header) != 0) {
        return;
    }
    std::size_t pos = 0;
    next_line(bytes_, pos, end);
    std::uint32_t key = no_key;  // whose values the lines are; none before the first key line
    bool in_preamble = true;
    bool continued = false;  // whether the line is hex data run on from the one before
    while (pos < end) {
        const std::size_t line_begin = pos;
        const std::string_view line = skip_spaces(next_line(bytes_, pos, end));
        if (continued) {
            continued = !line.empty() && line.back() == '\\';
        } else if (!line.empty() && line[0] == '[') {
            if (key != no_key) {
                lines_.back().end = line_begin;
            }
            in_preamble = false;
            // A key line that cannot be read takes its values with it, as Wine skips them.
            key = add_key(line.substr(1));
            if (key != no_key) {
                lines_.push_back({pos, end, newest_lines_[key]});
                newest_lines_[key] = static_cast<std::uint32_t>(lines_.size() - 1);
            }
        } else if (in_preamble && line == "#arch=win64") {
            win64_ = true;
        } else if (!line.empty()) {
            continued = starts_hex_run(line);
        }
    }
}

std::uint32_t Cwine_registry::add_key(std::string_view written) {
    // Decoded and folded straight into its place, before it is known to be new: only a key
    // written twice wastes its copy.
    auto* kept = static_cast<char16_t*>(
        paths_.allocate(written.size() * sizeof(char16_t), alignof(char16_t)));
    std::size_t size = read_plain_key_path(written, kept);
    if (size == not_plain) {
        if (decode_escaped(written, ']', kept, size) == std::string_view::npos) {
            return no_key;
        }
        size = fold_path({kept, size}, kept);
    }
    const std::u16string_view path(kept, size);
    const auto next_key = [this] { return static_cast<std::uint32_t>(newest_lines_.size()); };
    const auto [at, added] = keys_.try_emplace(path, next_key());
    if (!added) {
        return at->second;
    }
    newest_lines_.push_back(no_lines);
    // The keys above it exist too. In Wine's order they mostly lie above the key added before and
    // are known already; otherwise they are added up to the nearest one known. Their paths are
    // prefixes of its.
    const std::u16string_view previous = std::exchange(last_added_, path);
    for (std::size_t cut = path.rfind(u'\\'); cut != std::u16string_view::npos;
         cut = path.rfind(u'\\', cut - 1)) {
        const std::u16string_view parent = path.substr(0, cut);
        if (lies_within(previous, parent) || !keys_.try_emplace(parent, next_key()).second) {
            break;
        }
        newest_lines_.push_back(no_lines);
    }
    return at->second;
}

std::uint32_t Cwine_registry::find_key(std::u16string_view folded_path) const {
    const auto at = keys_.find(folded_path);
    return at != keys_.end() ? at->second : no_key;
}

// Calls visit(line, pos, end) on each line of the key's values, a run at a time, newest first,
// and stops after the first run in which a call returned true. Gives whether one did.
template <typename Visit>
bool Cwine_registry::scan_value_lines(std::uint32_t key, Visit visit) const {
    for (std::uint32_t run = key < newest_lines_.size() ? newest_lines_[key] : no_lines;
         run != no_lines; run = lines_[run].earlier) {
        bool hit = false;
        for (std::size_t pos = lines_[run].begin; pos < lines_[run].end;) {
            const std::string_view line = skip_spaces(next_line(bytes_, pos, lines_[run].end));
            hit = (!line.empty() && visit(line, pos, lines_[run].end)) || hit;
        }
        if (hit) {
            return true;
        }
    }
    return false;
}

bool Cwine_registry::find_value(std::uint32_t key, std::u16string_view folded_name,
                                wine_registry_value& value) const {
    std::u16string name;
    wine_registry_value candidate;
    return scan_value_lines(key, [&](std::string_view line, std::size_t& pos, std::size_t end) {
        std::string_view data;
        if ((line[0] != '"' && line[0] != '@') || !split_value_line(line, name, data)) {
            return false;
        }
        fold_case(name);
        if (name != folded_name) {
            // Step over the continuation lines of hex data that is not wanted.
            std::string ignored;
            if (is_hex_data(data)) {
                parse_hex(bytes_, data.substr(data.find(':') + 1), pos, end, ignored);
            }
            return false;
        }
        if (!parse_data(bytes_, data, pos, end, candidate)) {
            return false;
        }
        value = candidate;
        return true;
    });
}

std::u16string Cwine_registry::link_target(std::uint32_t key) const {
    const bool is_link = scan_value_lines(
        key, [](std::string_view line, std::size_t&, std::size_t) { return line == "#link"; });
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
