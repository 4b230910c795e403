#include "qt/ip_address_edit.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace {

constexpr int highest_field_value = 255;
constexpr int field_digits = 3;

}  // namespace

Cip_address_edit::Cip_address_edit(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 0, 2, 0);
    row->setSpacing(0);
    auto* digits = new QRegularExpressionValidator(QRegularExpression("[0-9]{0,3}"), this);
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            auto* dot = new QLabel(QStringLiteral("."), this);
            dot->setBackgroundRole(QPalette::Base);
            row->addWidget(dot);
        }
        QLineEdit* field = new QLineEdit(this);
        field->setFrame(false);
        field->setAlignment(Qt::AlignCenter);
        field->setMaxLength(field_digits);
        field->setValidator(digits);
        field->installEventFilter(this);
        // The control is one tab stop: Tab leaves it from any field, and enters at the first.
        field->setFocusPolicy(i == 0 ? Qt::StrongFocus : Qt::ClickFocus);
        connect(field, &QLineEdit::textEdited, this, [this, i] { field_edited(i); });
        row->addWidget(field, 1);
        fields_[static_cast<std::size_t>(i)] = field;
    }
    setFocusProxy(fields_[0]);
}

void Cip_address_edit::set_address(std::uint32_t control_value) {
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const unsigned field = (control_value >> (24 - 8 * i)) & 0xFF;
        fields_[i]->setText(QString::number(field));
    }
}

std::uint32_t Cip_address_edit::address() const {
    std::uint32_t value = 0;
    for (const QLineEdit* field : fields_) {
        value = value << 8 | static_cast<std::uint32_t>(field->text().toUInt());
    }
    return value;
}

QString Cip_address_edit::text() const {
    QStringList parts;
    for (const QLineEdit* field : fields_) {
        parts << field->text();
    }
    return parts.join(QLatin1Char('.'));
}

void Cip_address_edit::field_edited(int index) {
    QLineEdit* field = fields_[static_cast<std::size_t>(index)];
    if (field->text().toInt() > highest_field_value) {
        field->setText(QString::number(highest_field_value));
    }
    if (field->text().size() == field_digits && field->cursorPosition() == field_digits &&
        index + 1 < static_cast<int>(fields_.size())) {
        move_to_field(index + 1, false);
    }
}

void Cip_address_edit::move_to_field(int index, bool at_end) {
    QLineEdit* field = fields_[static_cast<std::size_t>(index)];
    field->setFocus(Qt::OtherFocusReason);
    if (at_end) {
        field->setCursorPosition(static_cast<int>(field->text().size()));
    } else {
        field->selectAll();
    }
}

bool Cip_address_edit::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QFrame::eventFilter(watched, event);
    }
    int index = 0;
    while (index < static_cast<int>(fields_.size()) &&
           fields_[static_cast<std::size_t>(index)] != watched) {
        ++index;
    }
    if (index == static_cast<int>(fields_.size())) {
        return QFrame::eventFilter(watched, event);
    }
    const QLineEdit* field = fields_[static_cast<std::size_t>(index)];
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool last = index + 1 == static_cast<int>(fields_.size());
    const bool at_start = field->cursorPosition() == 0 && !field->hasSelectedText();
    const bool at_end = field->cursorPosition() == field->text().size();
    if ((key->key() == Qt::Key_Period || key->key() == Qt::Key_Space) && !last &&
        !field->text().isEmpty()) {
        move_to_field(index + 1, false);
        return true;
    }
    if ((key->key() == Qt::Key_Right && at_end) && !last) {
        move_to_field(index + 1, false);
        return true;
    }
    if ((key->key() == Qt::Key_Left || key->key() == Qt::Key_Backspace) && at_start && index > 0) {
        move_to_field(index - 1, true);
        return true;
    }
    return QFrame::eventFilter(watched, event);
}
