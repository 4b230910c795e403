#include "qt/dialog_units.h"

#include <QFontMetrics>

namespace {

int average_letter_width(const QFontMetrics& metrics) {
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return (letters / 26 + 1) / 2;
}

}  // namespace

Cdialog_units::Cdialog_units(const QFont& font)
    : base_width_(average_letter_width(QFontMetrics(font))),
      base_height_(QFontMetrics(font).height()) {}
