#include "registry/ansi_code_page.h"

#include <algorithm>
#include <cerrno>

namespace {

const iconv_t no_converter = reinterpret_cast<iconv_t>(-1);

// A converter for the code page. One glibc does not know reads as 1252, the one Wine gives a
// prefix that names none; ASCII is the last resort.
iconv_t open_converter(std::uint32_t code_page, bool to_ansi) {
    for (const std::string& name :
         {"CP" + std::to_string(code_page), std::string("CP1252"), std::string("ASCII")}) {
        const iconv_t cd =
            to_ansi ? iconv_open(name.c_str(), "UTF-16LE") : iconv_open("UTF-16LE", name.c_str());
        if (cd != no_converter) {
            return cd;
        }
    }
    return no_converter;
}

// Runs iconv over the whole input, `unit_size` input bytes per unit; what cannot be converted
// becomes `replacement` and costs one input unit.
template <typename Text>
Text convert(iconv_t cd, std::string_view in, std::size_t unit_size,
             typename Text::value_type replacement) {
    using unit = typename Text::value_type;
    Text out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* input = const_cast<char*>(in.data());
    std::size_t input_left = in.size();
    while (input_left > 0) {
        alignas(unit) char buffer[1024];
        char* output = buffer;
        std::size_t output_left = sizeof buffer;
        const bool failed =
            iconv(cd, &input, &input_left, &output, &output_left) == static_cast<std::size_t>(-1) &&
            errno != E2BIG;
        out.append(reinterpret_cast<const unit*>(buffer), (output - buffer) / sizeof(unit));
        if (failed) {
            // EILSEQ, or EINVAL for a sequence cut off at the end.
            out += replacement;
            const std::size_t step = std::min(input_left, unit_size);
            input += step;
            input_left -= step;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
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
    // A lone surrogate fails like any character the code page lacks, and becomes '?' as on
    // Windows.
    return convert<std::string>(to_ansi_, utf16le.substr(0, utf16le.size() & ~std::size_t{1}), 2,
                                '?');
}

std::u16string Cansi_code_page::to_utf16(std::string_view ansi) const {
    return convert<std::u16string>(from_ansi_, ansi, 1, u'?');
}
