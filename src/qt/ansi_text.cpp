#include "qt/ansi_text.h"

#include "support/wine_prefix_registry.h"

#include <memory>

namespace {

constexpr char code_page_key[] = "System\\CurrentControlSet\\Control\\Nls\\CodePage";
constexpr std::uint32_t default_code_page = 1252;

// The registry reader already knows the prefix's code page; any key it opens carries it.
std::shared_ptr<const Cansi_code_page> prefix_code_page() {
    wine_open_key key;
    if (Cwine_prefix_registry::instance().open(registry_root::local_machine, code_page_key, key) ==
            0 &&
        key.code_page != nullptr) {
        return key.code_page;
    }
    static const auto fallback = std::make_shared<const Cansi_code_page>(default_code_page);
    return fallback;
}

}  // namespace

QString text_from_ansi(std::string_view bytes) {
    const std::u16string text = prefix_code_page()->to_utf16(bytes);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QString transcript_text(std::string_view bytes) {
    QString text = text_from_ansi(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}
