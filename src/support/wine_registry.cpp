#include "support/wine_registry.h"

#include "support/wine_registry_text.h"
#include "support/wine_registry_words.h"

#include <algorithm>
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

// A key line's path: decoded, folded, empty components dropped.
// Appends a path component separator unless the path is empty or already ends in one.
void append_separator(std::u16string& path) {
    if (!path.empty() && path.back() != u'\\') {
        path += u'\\';
    }
}

// The common case, as Wine writes names: ASCII with "\\\\" between components. False when the
// name needs the full decoding.
bool parse_plain_key_path(std::string_view line, std::u16string& path) {
    path.clear();
    for (std::size_t i = 1; i < line.size(); ++i) {
        const char c = line[i];
        if (c == ']') {
            if (!path.empty() && path.back() == u'\\') {
                path.pop_back();
            }
            return true;
        }
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
        if (c == '\\') {
            if (i + 1 >= line.size() || line[i + 1] != '\\') {
                return false;
            }
            ++i;
            append_separator(path);
        } else {
            path += static_cast<char16_t>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        }
    }
    return false;
}

bool parse_key_path(std::string_view line, std::u16string& scratch, std::u16string& path) {
    if (parse_plain_key_path(line, path)) {
        return true;
    }
    scratch.clear();
    if (decode_escaped(line.substr(1), ']', scratch) == std::string_view::npos) {
        return false;
    }
    path.clear();
    for (const char16_t c : scratch) {
        if (c != u'\\') {
            path += fold_case(c);
        } else {
            append_separator(path);
        }
    }
    if (!path.empty() && path.back() == u'\\') {
        path.pop_back();
    }
    return true;
}

bool ends_in_backslash(const std::string& bytes, std::size_t begin, std::size_t end) {
    while (end > begin && is_space(bytes[end - 1])) {
        --end;
    }
    return end > begin && bytes[end - 1] == '\\';
}

// A value line whose hex data runs on into the next line.
bool starts_hex_run(std::string_view line) {
    std::u16string name;
    std::string_view data;
    return (line[0] == '"' || line[0] == '@') && line.back() == '\\' &&
           split_value_line(line, name, data) && is_hex_data(data);
}

// Word-at-a-time hashing of key names; the byte order of a load does not matter, as long as
// every hash is made here.
using name_words::bytes_equal;
using name_words::high_bits;
using name_words::load;
using name_words::ones;

constexpr std::uint64_t root_hash = 0, fold_ascii_case = ~(ones * 0x20);

std::uint64_t mix(std::uint64_t hash, std::uint64_t word) {
    hash = (hash ^ word) * 0x9E3779B97F4A7C15;
    return hash ^ (hash >> 29);
}

// The first `size` (under 8) bytes at `p` as the low bytes of a word, in loads of fixed size
// (a load of variable size is a call).
std::uint64_t load_tail(const char* p, std::size_t size) {
    std::uint64_t word = 0;
    int shift = 0;
    if (size & 4) {
        std::uint32_t part;
        std::memcpy(&part, p, 4);
        word = part;
        p += 4;
        shift = 32;
    }
    if (size & 2) {
        std::uint16_t part;
        std::memcpy(&part, p, 2);
        word |= std::uint64_t{part} << shift;
        p += 2;
        shift += 16;
    }
    if (size & 1) {
        word |= std::uint64_t{static_cast<unsigned char>(*p)} << shift;
    }
    return word;
}

// Adds one component, given as the bytes a plain name writes for it. Clearing bit 0x20 folds
// ASCII case and merges a few other bytes too; candidates are compared in full anyway.
std::uint64_t hash_component(std::uint64_t hash, const char* p, std::size_t size) {
    std::size_t i = 0;
    for (; size - i >= 8; i += 8) {
        hash = mix(hash, load(p + i) & fold_ascii_case);
    }
    if (i < size) {
        hash = mix(hash, load_tail(p + i, size - i) & fold_ascii_case);
    }
    return mix(hash, size + 1);
}

// Finds where a plain name's component that starts at `begin` ends (the first '\', ']' or
// non-ASCII byte, or `end`) and hashes it on the way, exactly as hash_component does.
const char* hash_plain_component(const char* const begin, const char* end, std::uint64_t& hash) {
    const char* p = begin;
    for (; end - p >= 8; p += 8) {
        const std::uint64_t word = load(p);
        const std::uint64_t stops =
            bytes_equal(word, '\\') | bytes_equal(word, ']') | (word & high_bits);
        if (stops != 0) {
            const int before = __builtin_ctzll(stops) / 8;
            if (before > 0) {
                const std::uint64_t kept = (std::uint64_t{1} << (8 * before)) - 1;
                hash = mix(hash, word & kept & fold_ascii_case);
            }
            p += before;
            hash = mix(hash, static_cast<std::uint64_t>(p - begin) + 1);
            return p;
        }
        hash = mix(hash, word & fold_ascii_case);
    }
    const char* stop = p;
    while (stop < end && *stop != '\\' && *stop != ']' &&
           static_cast<unsigned char>(*stop) < 0x80) {
        ++stop;
    }
    if (stop > p) {
        hash = mix(hash, load_tail(p, stop - p) & fold_ascii_case);
    }
    hash = mix(hash, static_cast<std::uint64_t>(stop - begin) + 1);
    return stop;
}

// Hashes a decoded path component by component, handing `each` the hash of every prefix; false
// when the path has an empty component, as no stored path has. A character beyond ASCII, which
// no plain name holds, is hashed as three bytes of its own.
template <typename Each>
bool hash_path(std::u16string_view path, Each each) {
    std::string bytes(path.size() * 3, '\0');
    std::uint64_t hash = root_hash;
    std::size_t size = 0;
    for (std::size_t i = 0; i <= path.size() && !path.empty(); ++i) {
        if (i < path.size() && path[i] != u'\\') {
            const char16_t c = path[i];
            if (c < 0x80) {
                bytes[size++] = static_cast<char>(c);
            } else {
                bytes[size++] = static_cast<char>(0xC0 | c >> 12);
                bytes[size++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                bytes[size++] = static_cast<char>(0x80 | (c & 0x3F));
            }
            continue;
        }
        if (size == 0) {
            return false;
        }
        hash = hash_component(hash, bytes.data(), size);
        each(hash);
        size = 0;
    }
    return true;
}

// The first `depth` components of a path that has at least that many.
std::u16string_view path_prefix(std::u16string_view path, std::uint32_t depth) {
    std::size_t cut = depth == 0 ? 0 : std::u16string_view::npos;
    for (std::size_t from = 0, d = 0; d < depth; ++d, from = cut + 1) {
        cut = path.find(u'\\', from);
        if (cut == std::u16string_view::npos) {
            break;
        }
    }
    return path.substr(0, cut);
}

// How many leading bytes two names share.
std::size_t common_size(const char* a, const char* b, std::size_t size) {
    std::size_t i = 0;
    for (; size - i >= 8; i += 8) {
        const std::uint64_t unlike = load(a + i) ^ load(b + i);
        if (unlike != 0) {
            return i + __builtin_ctzll(unlike) / 8;
        }
    }
    while (i < size && a[i] == b[i]) {
        ++i;
    }
    return i;
}

}  // namespace

// Where the line after the one holding `pos` starts (the end of the bytes when there is none);
// the rest of a key line is short, so a word at a time beats a call.
std::size_t Cwine_registry::line_after(std::size_t pos) const {
    const std::size_t end = bytes_.size();
    for (; end - pos >= 8; pos += 8) {
        const std::uint64_t newlines = bytes_equal(load(bytes_.data() + pos), '\n');
        if (newlines != 0) {
            return pos + __builtin_ctzll(newlines) / 8 + 1;
        }
    }
    while (pos < end && bytes_[pos++] != '\n') {
    }
    return pos;
}

// The prefix hashes of the last plain name indexed, which the next name, written beside it in
// the same tree, mostly shares.
struct Cwine_registry::path_hashes {
    const char* name = nullptr;
    std::size_t size = 0;
    std::vector<std::uint32_t> ends;      // ends[d]: where component d + 1 ends in the name
    std::vector<std::uint64_t> hashes{};  // hashes[d]: the first d components
};

Cwine_registry::Cwine_registry(std::string bytes) : bytes_(std::move(bytes)) {
    // Room for about as many key lines and keys as a fresh prefix's files hold for their size.
    lines_.reserve(bytes_.size() / 192);
    const bool readable =
        bytes_.size() < UINT32_MAX && bytes_.compare(0, file_header.size(), file_header) == 0;
    if (readable && index_sorted()) {
        return;
    }
    lines_.clear();
    nodes_.reserve(bytes_.size() / 128);
    nodes_.push_back({root_hash, no_key, 0, 0});
    grow(nodes_.capacity());
    if (readable) {
        index();
    }
}

// Lists the key lines while their names are plain and each sorts after the one before; false
// as soon as one does not, and the file then needs the full index.
bool Cwine_registry::index_sorted() {
    const std::size_t end = bytes_.size();
    std::size_t pos = 0;
    next_line(bytes_, pos, end);  // the header
    pos = read_preamble(pos);
    while (pos < end) {
        std::size_t bracket = pos;
        while (bytes_[bracket] != '[') {
            ++bracket;
        }
        const char* const name = bytes_.data() + bracket + 1;
        const std::size_t limit = end - bracket - 1;
        std::size_t known = 0;
        if (!lines_.empty()) {
            const key_line& last = lines_.back();
            const char* const previous = bytes_.data() + last.name_begin;
            known = common_size(previous, name,
                                std::min<std::size_t>(last.name_end - last.name_begin, limit));
        }
        const std::size_t size = plain_name_end(name, limit, known);
        if (size == std::string::npos) {
            return false;
        }
        if (!lines_.empty()) {
            key_line& last = lines_.back();
            const char* const previous = bytes_.data() + last.name_begin;
            // The first byte that differs mostly decides; only a difference of case does not.
            const unsigned x = plain_rank(previous[known]), y = plain_rank(name[known]);
            const bool before = x != y
                                    ? x < y
                                    : compare_plain_names(previous, last.name_end - last.name_begin,
                                                          name, size, known)
                                              .sign < 0;
            if (!before) {
                return false;
            }
            last.body_end = static_cast<std::uint32_t>(pos);
        }
        const std::size_t body_begin = line_after(bracket + 1 + size);
        lines_.push_back({static_cast<std::uint32_t>(bracket + 1),
                          static_cast<std::uint32_t>(bracket + 1 + size),
                          static_cast<std::uint32_t>(body_begin), static_cast<std::uint32_t>(end),
                          no_key, true});
        pos = next_key_line(body_begin);
    }
    sorted_ = true;
    return true;
}

// Bisects the key lines for the first that does not sort before the path: the key itself, or
// the first key below it when it is written only as part of longer names.
std::uint32_t Cwine_registry::find_sorted_key(std::u16string_view folded_path) const {
    std::string wanted;
    if (!plain_name_of(folded_path, wanted)) {
        return folded_path.empty() ? implied_key : no_key;
    }
    const std::size_t wanted_size = wanted.size() - 1;
    // Names between two others share at least what both share with the path.
    std::size_t low = 0, high = lines_.size(), low_same = 0, high_same = 0;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        const key_line& line = lines_[middle];
        const plain_order order =
            compare_plain_names(bytes_.data() + line.name_begin, line.name_end - line.name_begin,
                                wanted.data(), wanted_size, std::min(low_same, high_same));
        if (order.sign < 0) {
            low = middle + 1;
            low_same = order.same;
        } else {
            high = middle;
            high_same = order.same;
        }
    }
    if (low == lines_.size() || high_same < wanted_size) {
        return no_key;
    }
    const char next = bytes_[lines_[low].name_begin + wanted_size];
    return next == ']' ? static_cast<std::uint32_t>(low) : next == '\\' ? implied_key : no_key;
}

void Cwine_registry::index() {
    const std::size_t end = bytes_.size();
    std::size_t pos = 0;
    next_line(bytes_, pos, end);  // the header
    pos = read_preamble(pos);
    path_hashes previous, current;
    std::uint32_t open_line = no_key;  // the line whose body runs until the next key line
    while (pos < end) {
        if (open_line != no_key) {
            lines_[open_line].body_end = static_cast<std::uint32_t>(pos);
        }
        std::size_t bracket = pos;
        while (bytes_[bracket] != '[') {
            ++bracket;
        }
        const void* newline = std::memchr(bytes_.data() + bracket, '\n', end - bracket);
        const std::size_t line_end =
            newline != nullptr ? static_cast<const char*>(newline) - bytes_.data() : end;
        const std::size_t body_begin = newline != nullptr ? line_end + 1 : end;
        const std::size_t count = lines_.size();
        add_key_line(bracket, line_end, body_begin, previous, current);
        open_line = lines_.size() > count ? static_cast<std::uint32_t>(count) : no_key;
        pos = next_key_line(body_begin);
    }
}

// Reads the lines before the first key line as the full parser does (only there may the file
// say "#arch=win64"); returns where the first key line starts.
std::size_t Cwine_registry::read_preamble(std::size_t pos) {
    const std::size_t end = bytes_.size();
    bool continued = false;
    while (pos < end) {
        const std::size_t line_begin = pos;
        const std::string_view line = skip_spaces(next_line(bytes_, pos, end));
        if (continued) {
            continued = !line.empty() && line.back() == '\\';
        } else if (!line.empty() && line[0] == '[') {
            return line_begin;
        } else if (line == "#arch=win64") {
            win64_ = true;
        } else if (!line.empty()) {
            continued = starts_hex_run(line);
        }
    }
    return end;
}

// Finds the next line that starts with '[' and is not hex data running on: memchr for '[' and a
// look at the line before, so that most lines are never visited.
std::size_t Cwine_registry::next_key_line(std::size_t floor) const {
    const std::size_t end = bytes_.size();
    bool floor_continued = false;  // whether the line at `floor` is consumed as hex data
    for (std::size_t search = floor;;) {
        const void* found = std::memchr(bytes_.data() + search, '[', end - search);
        if (found == nullptr) {
            return end;
        }
        const std::size_t bracket = static_cast<const char*>(found) - bytes_.data();
        search = bracket + 1;
        std::size_t begin = bracket;
        while (begin > floor && is_space(bytes_[begin - 1])) {
            --begin;
        }
        if (begin > floor && bytes_[begin - 1] != '\n') {
            continue;
        }
        // Mostly the line before ends in no backslash, and so runs nothing on into this one.
        const bool after_plain_line =
            begin == floor ? !floor_continued : !ends_in_backslash(bytes_, floor, begin - 1);
        if (after_plain_line || !continues_into(begin, floor, floor_continued)) {
            return begin;
        }
        const void* newline = std::memchr(bytes_.data() + bracket, '\n', end - bracket);
        if (newline == nullptr) {
            return end;
        }
        const std::size_t line_end = static_cast<const char*>(newline) - bytes_.data();
        floor_continued = ends_in_backslash(bytes_, begin, line_end);
        floor = search = line_end + 1;
    }
}

// Whether the line at `begin` is consumed as hex data. Only the run of lines ending in a
// backslash before it matters, and no further back than `floor`, whose state is known.
bool Cwine_registry::continues_into(std::size_t begin, std::size_t floor,
                                    bool floor_continued) const {
    if (begin == floor) {
        return floor_continued;
    }
    std::size_t first = begin;
    bool continued = false;
    for (;;) {
        if (first == floor) {
            continued = floor_continued;
            break;
        }
        std::size_t line_begin = first - 1;
        while (line_begin > floor && bytes_[line_begin - 1] != '\n') {
            --line_begin;
        }
        if (!ends_in_backslash(bytes_, line_begin, first - 1)) {
            break;
        }
        first = line_begin;
    }
    for (std::size_t pos = first; pos < begin;) {
        const std::string_view line = skip_spaces(next_line(bytes_, pos, begin));
        continued = continued || starts_hex_run(line);
    }
    return continued;
}

void Cwine_registry::add_key_line(std::size_t bracket, std::size_t line_end, std::size_t body_begin,
                                  path_hashes& previous, path_hashes& current) {
    const char* const name = bytes_.data() + bracket + 1;
    const char* const end = bytes_.data() + line_end;
    current.name = name;
    current.ends.clear();
    current.hashes.clear();
    current.hashes.push_back(root_hash);
    // Components shared with the previous plain name keep their hashes, and their keys exist.
    std::size_t shared = 0;
    if (previous.name != nullptr) {
        const std::size_t same =
            common_size(previous.name, name, std::min<std::size_t>(previous.size, end - name));
        while (shared < previous.ends.size() && previous.ends[shared] <= same &&
               static_cast<std::size_t>(end - name) > previous.ends[shared] + 2 &&
               name[previous.ends[shared]] == '\\' && name[previous.ends[shared] + 1] == '\\') {
            current.ends.push_back(previous.ends[shared]);
            current.hashes.push_back(previous.hashes[++shared]);
        }
    }
    const char* p = shared == 0 ? name : name + current.ends.back() + 2;
    bool plain = true;
    for (;;) {
        std::uint64_t hash = current.hashes.back();
        const char* const stop = hash_plain_component(p, end, hash);
        if (stop == p || stop == end || (*stop != '\\' && *stop != ']')) {
            plain = false;
            break;
        }
        current.hashes.push_back(hash);
        current.ends.push_back(static_cast<std::uint32_t>(stop - name));
        if (*stop == ']') {
            current.size = stop - name;
            break;
        }
        if (end - stop < 2 || stop[1] != '\\') {
            plain = false;
            break;
        }
        p = stop + 2;
    }
    key_line line{static_cast<std::uint32_t>(bracket + 1),
                  static_cast<std::uint32_t>(line_end),
                  static_cast<std::uint32_t>(body_begin),
                  static_cast<std::uint32_t>(bytes_.size()),
                  no_key,
                  plain};
    if (plain) {
        line.name_end = static_cast<std::uint32_t>(bracket + 1 + current.size);
    } else {
        std::string_view text(bytes_.data() + bracket, line_end - bracket);
        while (!text.empty() && is_space(text.back())) {
            text.remove_suffix(1);
        }
        std::u16string scratch, path;
        current.hashes.resize(1);
        const auto add = [&current](std::uint64_t hash) { current.hashes.push_back(hash); };
        if (!parse_key_path(text, scratch, path) || !hash_path(path, add)) {
            return;
        }
        line.name_begin = static_cast<std::uint32_t>(bracket);
        line.name_end = static_cast<std::uint32_t>(bracket + text.size());
        shared = 0;
    }
    const auto index = static_cast<std::uint32_t>(lines_.size());
    lines_.push_back(line);
    const auto depth = static_cast<std::uint32_t>(current.hashes.size() - 1);
    const auto size_at = [&](std::uint32_t d) -> std::uint32_t {
        return plain && d > 0 ? current.ends[d - 1] : 0;
    };
    bool created = false;
    const std::uint32_t key = insert(current.hashes[depth], index, depth, size_at(depth), created);
    // Make the keys above it exist, up to the first one that already does.
    for (std::uint32_t d = depth - 1; created && d > shared; --d) {
        insert(current.hashes[d], index, d, size_at(d), created);
    }
    key_node& node = nodes_[key];
    if (node.last_line == no_key) {
        node.first_line = index;
    } else {
        lines_[node.last_line].next = index;
    }
    node.last_line = index;
    if (plain) {
        std::swap(previous, current);
    }
}

// The node of the first `depth` components of `line`'s path (`size` bytes of a plain name),
// made when there is none yet.
std::uint32_t Cwine_registry::insert(std::uint64_t hash, std::uint32_t line, std::uint32_t depth,
                                     std::uint32_t size, bool& created) {
    if ((nodes_.size() + 1) * 2 > slots_.size()) {
        grow(nodes_.size() * 2);
    }
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        slot& at = slots_[i];
        if (at.node == no_key) {
            at = {static_cast<std::uint32_t>(hash >> 32),
                  static_cast<std::uint32_t>(nodes_.size())};
            nodes_.push_back({hash, line, depth, size});
            created = true;
            return at.node;
        }
        key_node& node = nodes_[at.node];
        if (at.tag == hash >> 32 && node.hash == hash && node_is(node, line, depth, size)) {
            // The newest line is the cheapest to compare the next one with: its bytes are near.
            if (depth > 0 && lines_[node.line].plain && lines_[line].plain) {
                node.line = line;
            }
            created = false;
            return at.node;
        }
    }
}

void Cwine_registry::grow(std::size_t nodes) {
    std::size_t size = 64;
    while (size < nodes * 2) {
        size *= 2;
    }
    slots_.assign(size, {0, no_key});
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t n = 0; n < nodes_.size(); ++n) {
        std::size_t i = nodes_[n].hash & mask;
        while (slots_[i].node != no_key) {
            i = (i + 1) & mask;
        }
        slots_[i] = {static_cast<std::uint32_t>(nodes_[n].hash >> 32),
                     static_cast<std::uint32_t>(n)};
    }
}

// Whether the node is the first `depth` components of `line`'s path (`size` bytes of a plain
// name).
bool Cwine_registry::node_is(const key_node& node, std::uint32_t line, std::uint32_t depth,
                             std::uint32_t size) const {
    if (node.depth != depth || depth == 0 || node.line == line) {
        return node.depth == depth;
    }
    const key_line& a = lines_[node.line];
    const key_line& b = lines_[line];
    if (a.plain && b.plain) {
        const char* x = bytes_.data() + a.name_begin;
        const char* y = bytes_.data() + b.name_begin;
        if (node.size != size || std::memcmp(x, y, size) == 0) {
            return node.size == size;
        }
        const auto folded = [](char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; };
        return std::equal(x, x + size, y, [&](char c, char d) { return folded(c) == folded(d); });
    }
    return path_prefix(path_of(node.line), depth) == path_prefix(path_of(line), depth);
}

// Whether the node's path is `folded_path`; a plain name is compared where it is written.
bool Cwine_registry::node_is(const key_node& node, std::u16string_view folded_path) const {
    if (node.line == no_key || !lines_[node.line].plain) {
        return node.line == no_key ? folded_path.empty()
                                   : path_prefix(path_of(node.line), node.depth) == folded_path;
    }
    if (folded_path.empty()) {
        return node.depth == 0;
    }
    const char* raw = bytes_.data() + lines_[node.line].name_begin;
    const char* const raw_end = bytes_.data() + lines_[node.line].name_end;
    std::uint32_t components = 1;
    for (const char16_t c : folded_path) {
        if (raw == raw_end) {
            return false;
        }
        if (c == u'\\') {
            if (*raw != '\\') {
                return false;
            }
            raw += 2;  // a plain name's separator is a pair, followed by a component
            ++components;
            continue;
        }
        const auto byte = static_cast<unsigned char>(*raw++);
        if (c != (byte >= 'a' && byte <= 'z' ? byte - 'a' + 'A' : byte)) {
            return false;
        }
    }
    return components == node.depth && (raw == raw_end || *raw == '\\');
}

std::u16string Cwine_registry::path_of(std::uint32_t line) const {
    const key_line& key = lines_[line];
    std::string_view text(bytes_.data() + key.name_begin, key.name_end - key.name_begin);
    if (key.plain) {
        // The brackets around a plain name are where the full parser expects them.
        text = std::string_view(text.data() - 1, text.size() + 2);
    }
    std::u16string scratch, path;
    parse_key_path(text, scratch, path);
    return path;
}

std::uint32_t Cwine_registry::find_key(std::u16string_view folded_path) const {
    if (sorted_) {
        return find_sorted_key(folded_path);
    }
    std::uint64_t hash = root_hash;
    if (!hash_path(folded_path, [&hash](std::uint64_t prefix) { hash = prefix; })) {
        return no_key;
    }
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask; slots_[i].node != no_key; i = (i + 1) & mask) {
        const key_node& node = nodes_[slots_[i].node];
        if (slots_[i].tag == hash >> 32 && node.hash == hash && node_is(node, folded_path)) {
            return slots_[i].node;
        }
    }
    return no_key;
}

template <typename Visit>
void Cwine_registry::for_each_value_line(std::uint32_t key, Visit visit) const {
    if (key >= (sorted_ ? lines_.size() : nodes_.size())) {
        return;
    }
    const std::uint32_t first = sorted_ ? key : nodes_[key].first_line;
    for (std::uint32_t line = first; line != no_key; line = lines_[line].next) {
        std::size_t pos = lines_[line].body_begin;
        const std::size_t end = lines_[line].body_end;
        while (pos < end) {
            const std::string_view line_text = skip_spaces(next_line(bytes_, pos, end));
            if (!line_text.empty()) {
                visit(line_text, pos, end);
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
