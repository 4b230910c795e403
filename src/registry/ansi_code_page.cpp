#include "registry/ansi_code_page.h"

#include <cerrno>

namespace {

const iconv_t no_converter = reinterpret_cast<iconv_t>(-1);

// Opens a converter for the code page; a code page glibc does not know reads as 1252, the one
// Wine gives a prefix that names none.
iconv_t open_converter(std::uint32_t code_page, bool to_ansi) {
    for (const std::uint32_t page : {code_page, std::uint32_t{1252}}) {
        const std::string name = "CP" + std::to_string(page);
        const iconv_t cd =
            to_ansi ? iconv_open(name.c_str(), "UTF-16LE") : iconv_open("UTF-16LE", name.c_str());
        if (cd != no_converter) {
            return cd;
        }
    }
    return no_converter;
}

// Runs iconv over the whole input, `unit_size` input bytes per unit; what cannot be converted
// becomes `replacement` and costs one input unit. Without a converter only ASCII passes.
template <typename Out>
void convert(iconv_t cd, std::string_view in, std::size_t unit_size, Out& out,
             typename Out::value_type replacement) {
    using unit = typename Out::value_type;
    if (cd == no_converter) {
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

}  // namespace

Cansi_code_page::Cansi_code_page(std::uint32_t code_page)
    : to_ansi_(open_converter(code_page, true)), from_ansi_(open_converter(code_page, false)) {}

Cansi_code_page::~Cansi_code_page() {
    for (const iconv_t cd : {to_ansi_, from_ansi_}) {
        if (cd != no_converter) {
            iconv_close(cd);
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
    convert(to_ansi_, units, 2, out, '?');
    return out;
}

std::u16string Cansi_code_page::to_utf16(std::string_view ansi) const {
    std::u16string out;
    convert(from_ansi_, ansi, 1, out, u'?');
    return out;
}
