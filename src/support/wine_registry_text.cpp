#include "support/wine_registry_text.h"

#include "support/wine_registry_words.h"

#include <iconv.h>
#include <locale.h>
#include <wctype.h>

#include <cerrno>
#include <cstring>

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

locale_t utf8_locale() {
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    return locale;
}

// Opens a converter for the code page; a code page glibc does not know reads as 1252, the one
// Wine gives a prefix that names none.
iconv_t open_converter(std::uint32_t code_page, bool to_ansi) {
    for (const std::uint32_t page : {code_page, std::uint32_t{1252}}) {
        const std::string name = "CP" + std::to_string(page);
        const iconv_t cd =
            to_ansi ? iconv_open(name.c_str(), "UTF-16LE") : iconv_open("UTF-16LE", name.c_str());
        if (cd != reinterpret_cast<iconv_t>(-1)) {
            return cd;
        }
    }
    return reinterpret_cast<iconv_t>(-1);
}

// Runs iconv over the whole input, `unit_size` input bytes per unit; what cannot be converted
// becomes `replacement` and costs one input unit. Without a converter only ASCII passes.
template <typename Out>
void convert(iconv_t cd, std::string_view in, std::size_t unit_size, Out& out,
             typename Out::value_type replacement) {
    using unit = typename Out::value_type;
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        for (std::size_t i = 0; i + unit_size <= in.size(); i += unit_size) {
            const auto low = static_cast<unsigned char>(in[i]);
            const bool ascii = low < 0x80 && (unit_size == 1 || in[i + 1] == 0);
            out += ascii ? static_cast<unit>(low) : replacement;
        }
        return;
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    alignas(unit) char buffer[1024];
    char* input = const_cast<char*>(in.data());
    std::size_t input_left = in.size();
    while (input_left > 0) {
        char* output = buffer;
        std::size_t output_left = sizeof buffer;
        const std::size_t result = iconv(cd, &input, &input_left, &output, &output_left);
        const int error = errno;
        out.append(reinterpret_cast<const unit*>(buffer), (output - buffer) / sizeof(unit));
        if (result != static_cast<std::size_t>(-1) || error == E2BIG) {
            continue;
        }
        // EILSEQ, or EINVAL for a sequence cut off at the end.
        out += replacement;
        const std::size_t step = input_left < unit_size ? input_left : unit_size;
        input += step;
        input_left -= step;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
}

// The first byte from `i` on that is no plain component's: a separator, the end of the name or
// line, or a byte beyond ASCII; `limit` when there is none.
std::size_t next_stop(const char* name, std::size_t i, std::size_t limit) {
    // Sixteen bytes at a time where the target has vectors of that size, else two words.
    using bytes16 = signed char __attribute__((vector_size(16)));
    using words2 = std::uint64_t __attribute__((vector_size(16)));
    for (; limit - i >= 16; i += 16) {
        bytes16 bytes;
        std::memcpy(&bytes, name + i, 16);
        const bytes16 stops = (bytes == '\\') | (bytes == ']') | (bytes == '\n') | (bytes < 0);
        const words2 flags = reinterpret_cast<words2>(stops);
        if (flags[0] != 0) {
            return i + __builtin_ctzll(flags[0]) / 8;
        }
        if (flags[1] != 0) {
            return i + 8 + __builtin_ctzll(flags[1]) / 8;
        }
    }
    for (; i < limit; ++i) {
        const char c = name[i];
        if (c == '\\' || c == ']' || c == '\n' || static_cast<unsigned char>(c) >= 0x80) {
            break;
        }
    }
    return i;
}

}  // namespace

std::size_t decode_escaped(std::string_view text, char end, std::u16string& out) {
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == end) {
            return i + 1;
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

char16_t fold_case(char16_t c) {
    if (c < 0x80) {
        return c >= 'a' && c <= 'z' ? static_cast<char16_t>(c - 'a' + 'A') : c;
    }
    const locale_t locale = utf8_locale();
    if (locale == static_cast<locale_t>(0) || (c >= 0xD800 && c <= 0xDFFF)) {
        return c;
    }
    const wint_t upper = towupper_l(c, locale);
    return upper <= 0xFFFF ? static_cast<char16_t>(upper) : c;
}

void fold_case(std::u16string& text) {
    for (char16_t& c : text) {
        c = fold_case(c);
    }
}

Cansi_code_page::Cansi_code_page(std::uint32_t code_page)
    : to_ansi_(open_converter(code_page, true)), from_ansi_(open_converter(code_page, false)) {}

Cansi_code_page::~Cansi_code_page() {
    for (void* cd : {to_ansi_, from_ansi_}) {
        if (cd != reinterpret_cast<void*>(-1)) {
            iconv_close(static_cast<iconv_t>(cd));
        }
    }
}

std::string Cansi_code_page::from_utf16(std::string_view utf16le) const {
    // iconv drops a lone surrogate without a word; Windows shows it as '?' like any other
    // character the code page lacks.
    std::string units(utf16le.substr(0, utf16le.size() & ~std::size_t{1}));
    const auto unit_at = [&units](std::size_t i) {
        return static_cast<char16_t>(static_cast<unsigned char>(units[i]) |
                                     static_cast<unsigned char>(units[i + 1]) << 8);
    };
    for (std::size_t i = 0; i < units.size(); i += 2) {
        const char16_t unit = unit_at(i);
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        const bool paired =
            high && i + 2 < units.size() && unit_at(i + 2) >= 0xDC00 && unit_at(i + 2) <= 0xDFFF;
        if (paired) {
            i += 2;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            units[i] = '?';
            units[i + 1] = 0;
        }
    }
    std::string out;
    convert(static_cast<iconv_t>(to_ansi_), units, 2, out, '?');
    return out;
}

std::u16string Cansi_code_page::to_utf16(std::string_view ansi) const {
    std::u16string out;
    convert(static_cast<iconv_t>(from_ansi_), ansi, 1, out, u'?');
    return out;
}

std::size_t plain_name_end(const char* name, std::size_t limit, std::size_t known) {
    // Step back over a separator cut in two, to a byte of a component or the start.
    while (known > 0 && name[known - 1] == '\\') {
        --known;
    }
    bool in_component = known > 0;
    for (std::size_t i = known;;) {
        const std::size_t stop = next_stop(name, i, limit);
        in_component = in_component || stop > i;
        if (stop == limit || name[stop] != '\\') {
            return stop < limit && name[stop] == ']' && in_component ? stop : std::string::npos;
        }
        if (!in_component || limit - stop < 2 || name[stop + 1] != '\\') {
            return std::string::npos;
        }
        i = stop + 2;
        in_component = false;
    }
}

plain_order compare_plain_names(const char* a, std::size_t a_size, const char* b,
                                std::size_t b_size, std::size_t from) {
    using namespace name_words;
    // Bytes alike without case rank alike: find the first unlike one a word at a time while
    // both names last.
    const std::size_t shorter = a_size < b_size ? a_size : b_size;
    for (; from + 8 <= shorter; from += 8) {
        const std::uint64_t unlike = lower_ascii(load(a + from)) ^ lower_ascii(load(b + from));
        if (unlike != 0) {
            from += __builtin_ctzll(unlike) / 8;
            break;
        }
    }
    // Both names end in ']', which ranks below every other byte, so this stops by then.
    for (;; ++from) {
        const unsigned x = plain_rank(a[from]), y = plain_rank(b[from]);
        if (x != y) {
            return {from, x < y ? -1 : 1};
        }
        if (x == 0) {
            return {from, 0};
        }
    }
}

bool plain_name_of(std::u16string_view folded_path, std::string& name) {
    name.clear();
    name.reserve(folded_path.size() * 2 + 1);
    bool in_component = false;
    for (const char16_t c : folded_path) {
        if (c == u'\\') {
            if (!in_component) {
                return false;
            }
            name += "\\\\";
            in_component = false;
            continue;
        }
        // Folded paths hold no lower case letters; a plain name holds no ']' or wider byte.
        if (c >= 0x80 || c == u']' || (c >= u'a' && c <= u'z')) {
            return false;
        }
        name += static_cast<char>(c);
        in_component = true;
    }
    if (!in_component) {
        return false;
    }
    name += ']';
    return true;
}
