#include "registry/case_fold.h"

#include <locale.h>
#include <wctype.h>

namespace {

locale_t utf8_locale() {
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    return locale;
}

}  // namespace

char16_t fold_non_ascii_case(char16_t c) {
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

std::u16string folded_path(std::u16string_view path) {
    std::u16string folded(path.size(), u'\0');
    Cfolded_path_writer writer(folded.data());
    for (const char16_t unit : path) {
        writer.put(unit);
    }
    folded.resize(writer.size());
    return folded;
}
