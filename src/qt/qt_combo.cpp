#include "qt/qt_combo.h"

#include "qt/ansi_text.h"

#include <QComboBox>

namespace {

constexpr int no_entry = -1;
constexpr int item_data_role = Qt::UserRole;

}  // namespace

int Cqt_combo::add_string(const std::string& text) {
    const QString shown = text_from_ansi(text);
    int index = control_->count();
    if (sorted_) {
        // After the entries that sort before it or equal it, so that equal texts keep the
        // order they came in.
        index = 0;
        while (index < control_->count() &&
               QString::compare(control_->itemText(index), shown, Qt::CaseInsensitive) <= 0) {
            ++index;
        }
    }
    control_->insertItem(index, shown, QVariant::fromValue<qint64>(0));
    return index;
}

void Cqt_combo::set_item_data(int index, std::int64_t data) {
    if (index >= 0 && index < control_->count()) {
        control_->setItemData(index, QVariant::fromValue<qint64>(data), item_data_role);
    }
}

void Cqt_combo::set_selection(int index) {
    control_->setCurrentIndex(index >= 0 && index < control_->count() ? index : no_entry);
}

int Cqt_combo::selected_index() const {
    return control_->currentIndex();
}

std::int64_t Cqt_combo::item_data(int index) const {
    if (index < 0 || index >= control_->count()) {
        return no_entry;
    }
    return control_->itemData(index, item_data_role).value<qint64>();
}
