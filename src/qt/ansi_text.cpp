#include "qt/ansi_text.h"

#include "registry/wine_prefix_choice.h"

QString text_from_ansi(std::string_view bytes) {
    const std::u16string text = text_from_prefix_code_page(bytes);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QString transcript_text(std::string_view bytes) {
    QString text = text_from_ansi(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}
