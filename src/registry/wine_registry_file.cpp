#include "registry/wine_registry_file.h"

#include "registry/case_fold.h"
#include "registry/wine_escapes.h"

#include <cstring>
#include <functional>
#include <utility>

namespace {

constexpr std::string_view file_header = "WINE REGISTRY Version 2";

bool is_space(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// Where the spaces from text[i] on end.
std::size_t after_spaces(std::string_view text, std::size_t i) {
    while (i < text.size() && is_space(text[i])) {
        ++i;
    }
    return i;
}

// The line that starts at `pos`, without its line end and the spaces around it; moves `pos` to
// the next line.
std::string_view next_line(std::string_view bytes, std::size_t& pos, std::size_t end) {
    const char* start = bytes.data() + pos;
    const auto* newline = static_cast<const char*>(std::memchr(start, '\n', end - pos));
    std::string_view line(start, newline != nullptr ? newline - start : end - pos);
    pos += line.size() + (newline != nullptr);
    while (!line.empty() && is_space(line.back())) {
        line.remove_suffix(1);
    }
    return line.substr(after_spaces(line, 0));
}

// A value line up to the start of its data: its name, and the text after the '='.
bool split_value_line(std::string_view line, std::u16string& name, std::string_view& data) {
    name.clear();
    std::size_t used = 1;  // past the '@' that names the default value
    if (line[0] == '"') {
        used = decode_escaped(line.substr(1), '"', name);
        if (used == line.npos) {
            return false;
        }
        ++used;
    } else if (line[0] != '@') {
        return false;
    }
    const std::size_t equals = after_spaces(line, used);
    if (equals == line.size() || line[equals] != '=') {
        return false;
    }
    data = line.substr(after_spaces(line, equals + 1));
    return true;
}

bool is_hex_data(std::string_view data) {
    return data.substr(0, 3) == "hex";
}

// A value line whose hex data runs on into the next line.
bool starts_hex_run(std::string_view line) {
    std::u16string name;
    std::string_view data;
    return line.back() == '\\' && split_value_line(line, name, data) && is_hex_data(data);
}

// Hex digits from data[i] on, read as strtoul reads them on a 64-bit Wine server (too large
// stays at the largest); moves `i` past them.
std::uint64_t read_hex_number(std::string_view data, std::size_t& i) {
    std::uint64_t value = 0;
    for (; i < data.size() && hex_digit_value(data[i]) >= 0; ++i) {
        value = value > (UINT64_MAX >> 4) ? UINT64_MAX : value * 16 + hex_digit_value(data[i]);
    }
    return value;
}

// Hex bytes "61,62,\" with continuation lines up to `end`, as Wine reads them.
bool parse_hex(std::string_view bytes, std::string_view data, std::size_t& pos, std::size_t end,
               std::string& out) {
    for (;;) {
        std::size_t i = 0;
        while (i < data.size() && hex_digit_value(data[i]) >= 0) {
            const std::uint64_t byte = read_hex_number(data, i);
            if (byte > 0xFF) {
                return false;
            }
            out += static_cast<char>(byte);
            i = after_spaces(data, i);
            i = after_spaces(data, i + (i < data.size() && data[i] == ','));
        }
        if (i == data.size()) {
            return true;
        }
        if (data[i] != '\\' || pos >= end) {
            return false;
        }
        data = next_line(bytes, pos, end);
    }
}

bool parse_data(std::string_view bytes, std::string_view data, std::size_t& pos, std::size_t end,
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
        if (data.substr(0, tag.size()) != tag) {
            continue;
        }
        std::u16string text;
        if (decode_escaped(data.substr(tag.size()), '"', text) == data.npos) {
            return false;
        }
        value.type = type;
        value.data = utf16le_bytes(text + u'\0');
        return true;
    }
    if (data.substr(0, 6) == "dword:") {
        std::size_t i = after_spaces(data, 6);
        // Cut to the 32 bits a DWORD holds.
        const auto number = static_cast<std::uint32_t>(read_hex_number(data, i));
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
    std::size_t i = 4;
    if (data.substr(0, 4) != "hex(") {
        return false;
    }
    value.type = static_cast<std::uint32_t>(read_hex_number(data, i));
    return i > 4 && data.substr(i, 2) == "):" &&
           parse_hex(bytes, data.substr(i + 2), pos, end, value.data);
}

std::size_t hash_of(std::u16string_view path) {
    return std::hash<std::u16string_view>{}(path);
}

}  // namespace

bool is_registry_key_line(std::string_view line) {
    const std::size_t first = after_spaces(line, 0);
    return first < line.size() && line[first] == '[';
}

bool read_registry_key_path(std::string_view line, std::vector<char16_t>& room,
                            std::u16string_view& path) {
    if (!is_registry_key_line(line)) {
        return false;
    }
    const std::string_view written = line.substr(after_spaces(line, 0) + 1);
    if (room.size() < written.size()) {
        room.resize(written.size());
    }
    std::size_t size = 0;
    if (decode_key_path(written, room.data(), size) == written.npos) {
        return false;
    }
    path = {room.data(), size};
    return true;
}

Cwine_registry::Cwine_registry(std::string bytes)
    : bytes_(std::move(bytes)), slots_(16, empty_entry) {
    const std::size_t end = bytes_.size();
    std::size_t pos = bytes_.compare(0, file_header.size(), file_header) == 0 ? 0 : end;
    next_line(bytes_, pos, end);  // the header
    std::vector<char16_t> room;
    std::u16string_view path;
    bool continued = false;  // whether the line is hex data run on from the one before
    while (pos < end) {
        const std::size_t begin = pos;
        const std::string_view line = next_line(bytes_, pos, end);
        if (continued || !is_registry_key_line(line)) {
            win64_ = win64_ || (!continued && runs_.empty() && line == "#arch=win64");
            continued = !line.empty() && (continued ? line.back() == '\\' : starts_hex_run(line));
            continue;
        }
        if (!runs_.empty()) {
            runs_.back().end = begin;
        }
        runs_.push_back({begin, end, no_run});
        // A key line that cannot be read takes its values with it, as Wine skips them.
        if (!read_registry_key_path(line, room, path)) {
            continue;
        }
        const std::size_t run = runs_.size() - 1;
        const std::size_t seen = entries_;
        entry& key = slots_[find_or_add(path, run)];
        if (key.first == no_run) {
            key.first = run;
        } else {
            runs_[key.last].next = run;
        }
        key.last = run;
        // A key new to the index brings the keys above it, up to one the index holds already;
        // a key seen before brought them the first time.
        for (std::size_t cut = path.rfind(u'\\'); seen != entries_ && cut != path.npos;
             cut = path.rfind(u'\\', cut - 1)) {
            const std::size_t before = entries_;
            find_or_add(path.substr(0, cut), run);
            if (before == entries_) {
                break;
            }
        }
    }
}

bool Cwine_registry::names(const entry& slot, std::u16string_view path,
                           std::vector<char16_t>& room) const {
    std::size_t pos = runs_[slot.witness].key_line;
    std::u16string_view written;
    return slot.length == path.size() &&
           read_registry_key_path(next_line(bytes_, pos, bytes_.size()), room, written) &&
           written.substr(0, path.size()) == path;
}

std::size_t Cwine_registry::find(std::u16string_view path, std::vector<char16_t>& room) const {
    const std::size_t hash = hash_of(path), mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    while (slots_[i].witness != no_run &&
           (slots_[i].hash != hash || !names(slots_[i], path, room))) {
        i = (i + 1) & mask;
    }
    return i;
}

std::size_t Cwine_registry::find_or_add(std::u16string_view path, std::size_t run) {
    // At most half full, so that probes stay short and always end.
    if (2 * (entries_ + 1) > slots_.size()) {
        std::vector<entry> old(2 * slots_.size(), empty_entry);
        old.swap(slots_);
        const std::size_t mask = slots_.size() - 1;
        for (const entry& slot : old) {
            if (slot.witness == no_run) {
                continue;
            }
            std::size_t i = slot.hash & mask;
            while (slots_[i].witness != no_run) {
                i = (i + 1) & mask;
            }
            slots_[i] = slot;
        }
    }
    const std::size_t i = find(path, probe_room_);
    if (slots_[i].witness == no_run) {
        slots_[i] = {hash_of(path), path.size(), run, no_run, no_run};
        ++entries_;
    }
    return i;
}

template <typename Visit>
bool Cwine_registry::scan_values(std::u16string_view path, Visit visit) const {
    std::vector<char16_t> room;
    const entry& key = slots_[find(path, room)];
    // The runs of one key are chained in the file's order.
    for (std::size_t run = key.first; run != no_run; run = runs_[run].next) {
        std::size_t pos = runs_[run].key_line;
        next_line(bytes_, pos, runs_[run].end);
        while (pos < runs_[run].end) {
            const std::string_view line = next_line(bytes_, pos, runs_[run].end);
            if (!line.empty()) {
                visit(line, pos, runs_[run].end);
            }
        }
    }
    return path.empty() || key.witness != no_run;
}

bool Cwine_registry::has_key(std::u16string_view path) const {
    std::vector<char16_t> room;
    return path.empty() || slots_[find(path, room)].witness != no_run;
}

bool Cwine_registry::find_value(std::u16string_view path, std::u16string_view folded_name,
                                wine_registry_value& value) const {
    bool found = false;
    std::u16string name;
    std::string skipped;
    wine_registry_value candidate;
    scan_values(path, [&](std::string_view line, std::size_t& pos, std::size_t end) {
        std::string_view data;
        if (!split_value_line(line, name, data)) {
            return;
        }
        fold_case(name);
        if (name == folded_name && parse_data(bytes_, data, pos, end, candidate)) {
            value = candidate;
            found = true;
        } else if (name != folded_name && is_hex_data(data)) {
            // Steps over the continuation lines of hex data that is not wanted.
            parse_hex(bytes_, data.substr(data.find(':') + 1), pos, end, skipped);
        }
    });
    return found;
}

std::u16string Cwine_registry::link_target(std::u16string_view path) const {
    bool is_link = false;
    scan_values(path, [&is_link](std::string_view line, std::size_t&, std::size_t) {
        is_link = is_link || line == "#link";
    });
    wine_registry_value value;
    return is_link && find_value(path, u"SYMBOLICLINKVALUE", value) && value.type == reg_link
               ? utf16_units(value.data)
               : std::u16string();
}
