#include "registry/wine_escapes.h"

#include "registry/case_fold.h"

namespace {

// Decodes the UTF-8 sequence at text[i] to `out`, above the basic plane as a surrogate pair; a
// byte that starts no valid sequence (ASCII among them) stands for itself. Gives the bytes used.
std::size_t decode_utf8(std::string_view text, std::size_t i, char16_t*& out) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                               : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                              : 1;
    char32_t c = lead & (0xFF >> (length + 1));
    bool valid = length > 1 && i + length <= text.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        valid = (next & 0xC0) == 0x80;
        c = (c << 6) | (next & 0x3F);
    }
    const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
    if (!valid || overlong || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        *out++ = lead;
        return 1;
    }
    if (c >= 0x10000) {
        c -= 0x10000;
        *out++ = static_cast<char16_t>(0xD800 + (c >> 10));
        c = 0xDC00 + (c & 0x3FF);
    }
    *out++ = static_cast<char16_t>(c);
    return length;
}

// Decodes the escape sequence after the backslash at text[i] to `out`: \x and up to four hex
// digits ("\x" alone is an x), up to three octal digits, \a \b \e \f \n \r \t \v, or any other
// character standing for itself (\\ \" \] ...). Gives the bytes used after the backslash.
std::size_t decode_escape(std::string_view text, std::size_t i, char16_t*& out) {
    // The control characters of the letters a to z, 0 for a letter that names none.
    constexpr char16_t controls[26] = {u'\a', u'\b', 0, 0,     0x1B,  u'\f', 0, 0, 0,
                                       0,     0,     0, 0,     u'\n', 0,     0, 0, u'\r',
                                       0,     u'\t', 0, u'\v', 0,     0,     0, 0};
    const auto e = static_cast<unsigned char>(text[i]);
    if (e == 'x' || (e >= '0' && e <= '7')) {
        const std::size_t digits_start = i + (e == 'x'), most = e == 'x' ? 4 : 3;
        const int base = e == 'x' ? 16 : 8;
        char16_t value = 0;
        std::size_t end = digits_start;
        for (int d; end - digits_start < most && end < text.size() &&
                    (d = hex_digit_value(text[end])) >= 0 && d < base;
             ++end) {
            value = static_cast<char16_t>(value * base + d);
        }
        *out++ = end > digits_start ? value : u'x';
        return end - i;
    }
    if (e >= 0x80) {
        return decode_utf8(text, i, out);
    }
    *out++ = e >= 'a' && e <= 'z' && controls[e - 'a'] != 0 ? controls[e - 'a'] : e;
    return 1;
}

// Decodes `text` up to the first unescaped `end` byte, calling put(unit) for each UTF-16 unit.
template <typename Put>
std::size_t decode(std::string_view text, char end, Put put) {
    const char* next = text.data();
    const char* const stop = next + text.size();
    while (next != stop && *next != end) {
        const auto c = static_cast<unsigned char>(*next);
        if (c < 0x80 && c != '\\') {
            put(c);  // most of any text
            ++next;
            continue;
        }
        char16_t units[2];
        char16_t* units_end = units;
        const std::string_view rest(next, static_cast<std::size_t>(stop - next));
        next += c == '\\' && rest.size() > 1 ? 1 + decode_escape(rest, 1, units_end)
                                             : decode_utf8(rest, 0, units_end);
        for (const char16_t* unit = units; unit != units_end; ++unit) {
            put(*unit);
        }
    }
    return next != stop ? static_cast<std::size_t>(next - text.data()) + 1 : std::string_view::npos;
}

}  // namespace

int hex_digit_value(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char lower = static_cast<char>(c | 0x20);
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

std::size_t decode_escaped(std::string_view text, char end, std::u16string& out) {
    return decode(text, end, [&out](char16_t unit) { out += unit; });
}

std::size_t decode_key_path(std::string_view written, char16_t* path, std::size_t& size) {
    Cfolded_path_writer writer(path);
    const std::size_t used = decode(written, ']', [&writer](char16_t unit) { writer.put(unit); });
    size = writer.size();
    return used;
}

std::u16string utf16_units(std::string_view utf16le) {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < utf16le.size(); i += 2) {
        units += static_cast<char16_t>(static_cast<unsigned char>(utf16le[i]) |
                                       static_cast<unsigned char>(utf16le[i + 1]) << 8);
    }
    return units;
}

std::string utf16le_bytes(std::u16string_view units) {
    std::string bytes;
    for (const char16_t unit : units) {
        bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    }
    return bytes;
}
