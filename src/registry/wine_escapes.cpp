#include "registry/wine_escapes.h"

namespace {

int hex_digit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Appends one code point, as a surrogate pair above the basic plane.
void append_code_point(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
        return;
    }
    c -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (c >> 10));
    out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
}

// Decodes one UTF-8 sequence at text[i]; a byte that starts no valid sequence stands for itself.
std::size_t decode_utf8(std::string_view text, std::size_t i, std::u16string& out) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int length = 0;
    char32_t c = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07;
    }
    if (length == 0 || i + length > text.size()) {
        out += static_cast<char16_t>(lead);
        return 1;
    }
    for (int k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            out += static_cast<char16_t>(lead);
            return 1;
        }
        c = (c << 6) | (next & 0x3F);
    }
    const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
    if (overlong || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        out += static_cast<char16_t>(lead);
        return 1;
    }
    append_code_point(out, c);
    return length;
}

char16_t simple_escape(char c) {
    switch (c) {
        case 'a':
            return u'\a';
        case 'b':
            return u'\b';
        case 'e':
            return 0x1B;
        case 'f':
            return u'\f';
        case 'n':
            return u'\n';
        case 'r':
            return u'\r';
        case 't':
            return u'\t';
        case 'v':
            return u'\v';
        default:
            return 0;
    }
}

}  // namespace

std::size_t decode_escaped(std::string_view text, char end, std::u16string& out) {
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == end) {
            return i + 1;
        }
        // Plain ASCII, most of any name, is copied a run at a time.
        std::size_t run = i;
        while (run < text.size() && text[run] != end && text[run] != '\\' &&
               static_cast<unsigned char>(text[run]) < 0x80) {
            ++run;
        }
        if (run > i) {
            const std::size_t from = out.size();
            out.resize(from + (run - i));
            for (std::size_t k = from; i < run; ++k, ++i) {
                out[k] = static_cast<char16_t>(text[i]);
            }
            continue;
        }
        if (c != '\\' || i + 1 == text.size()) {
            if (static_cast<unsigned char>(c) < 0x80) {
                out += static_cast<char16_t>(c);
                ++i;
            } else {
                i += decode_utf8(text, i, out);
            }
            continue;
        }
        const char e = text[++i];
        if (const char16_t simple = simple_escape(e)) {
            out += simple;
            ++i;
        } else if (e == 'x') {
            ++i;
            char16_t value = 0;
            int digits = 0;
            for (int d; digits < 4 && i < text.size() && (d = hex_digit(text[i])) >= 0; ++i) {
                value = static_cast<char16_t>(value * 16 + d);
                ++digits;
            }
            out += digits > 0 ? value : u'x';
        } else if (e >= '0' && e <= '7') {
            char16_t value = 0;
            for (int digits = 0; digits < 3 && i < text.size() && text[i] >= '0' && text[i] <= '7';
                 ++digits, ++i) {
                value = static_cast<char16_t>(value * 8 + (text[i] - '0'));
            }
            out += value;
        } else {
            // Any other escaped byte stands for itself: \\ \" \] ...
            if (static_cast<unsigned char>(e) < 0x80) {
                out += static_cast<char16_t>(e);
                ++i;
            } else {
                i += decode_utf8(text, i, out);
            }
        }
    }
    return std::u16string_view::npos;
}
