#include "registry/wine_escapes.h"

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

// The control character an escape letter stands for (\a \b \e \f \n \r \t \v); 0 for others.
char16_t simple_escape(char c) {
    constexpr char16_t controls[26] = {u'\a', u'\b', 0, 0,     0x1B,  u'\f', 0, 0, 0,
                                       0,     0,     0, 0,     u'\n', 0,     0, 0, u'\r',
                                       0,     u'\t', 0, u'\v', 0,     0,     0, 0};
    return c >= 'a' && c <= 'z' ? controls[c - 'a'] : 0;
}

}  // namespace

int hex_digit_value(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char lower = static_cast<char>(c | 0x20);
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

std::size_t decode_escaped(std::string_view text, char end, char16_t* out, std::size_t& written) {
    char16_t* next = out;
    std::size_t i = 0;
    while (i < text.size() && text[i] != end) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80 && c != '\\') {
            *next++ = c;  // most of any text
            ++i;
            continue;
        }
        if (c != '\\' || i + 1 == text.size()) {
            i += decode_utf8(text, i, next);
            continue;
        }
        const char e = text[++i];
        if (const char16_t simple = simple_escape(e)) {
            *next++ = simple;
            ++i;
        } else if (e == 'x' || (e >= '0' && e <= '7')) {
            // \x and up to four hex digits ("\x" alone is an x), or up to three octal digits.
            const bool hex = e == 'x';
            i += hex;
            const std::size_t digits_start = i, most = hex ? 4 : 3;
            const int base = hex ? 16 : 8;
            char16_t value = 0;
            for (int d; i - digits_start < most && i < text.size() &&
                        (d = hex_digit_value(text[i])) >= 0 && d < base;
                 ++i) {
                value = static_cast<char16_t>(value * base + d);
            }
            *next++ = i > digits_start ? value : u'x';
        } else {
            // Any other escaped character stands for itself: \\ \" \] ...
            i += decode_utf8(text, i, next);
        }
    }
    written = static_cast<std::size_t>(next - out);
    return i < text.size() ? i + 1 : std::string_view::npos;
}

std::size_t decode_escaped(std::string_view text, char end, std::u16string& out) {
    const std::size_t start = out.size();
    std::size_t written = 0;
    out.resize(start + text.size());
    const std::size_t used = decode_escaped(text, end, out.data() + start, written);
    out.resize(start + written);
    return used;
}
