#include "qt/prefix_row.h"

#include "prefixes/wine_prefix_discovery.h"
#include "qt/dialog_units.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QSignalBlocker>

#include <algorithm>

namespace {

QString file_name_text(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

}  // namespace

Cqt_prefix_row::Cqt_prefix_row(choose_function choose, QWidget* parent)
    : QWidget(parent),
      prefixes_(new QComboBox(this)),
      note_(new QLabel(this)),
      choose_(std::move(choose)) {
    setObjectName(QStringLiteral("prefix_row"));
    prefixes_->setObjectName(QStringLiteral("prefix"));
    prefixes_->setToolTip(QStringLiteral("The Wine prefix whose games and accounts are read"));
    prefixes_->setAccessibleName(QStringLiteral("Wine prefix"));
    note_->setObjectName(QStringLiteral("prefix_note"));
    note_->setWordWrap(true);
    note_->setTextFormat(Qt::PlainText);
    note_->hide();
    prefixes_->addItem(QStringLiteral("Looking for Wine prefixes…"));
    prefixes_->setEnabled(false);

    pick_folder = [this] {
        return QFileDialog::getExistingDirectory(this, QStringLiteral("Wine prefix"),
                                                 QDir::homePath());
    };
    connect(prefixes_, &QComboBox::currentIndexChanged, this,
            [this](int index) { on_selected(index); });
}

void Cqt_prefix_row::show_search(const wine_prefix_search& search) {
    {
        const QSignalBlocker quiet(prefixes_);
        prefixes_->clear();
        prefixes_->addItem(QStringLiteral("Another folder…"));
        directories_.clear();
        for (const wine_prefix& prefix : search.prefixes) {
            add_entry(prefix);
        }
        const auto chosen = std::find(directories_.begin(), directories_.end(), search.chosen) -
                            directories_.begin();
        chosen_ = chosen < static_cast<long>(directories_.size()) ? static_cast<int>(chosen) : 0;
        prefixes_->setCurrentIndex(chosen_);
    }
    prefixes_->setEnabled(true);
    search_note_ = file_name_text(prefix_search_note(search));
    show_note();
}

void Cqt_prefix_row::set_waiting_note(const QString& text) {
    waiting_note_ = text;
    show_note();
}

void Cqt_prefix_row::show_note() {
    note_->setText(waiting_note_.isEmpty() ? search_note_ : waiting_note_);
    note_->setVisible(!note_->text().isEmpty());
    if (!place_.isNull()) {
        place(place_);
    }
}

void Cqt_prefix_row::place(const QRect& place) {
    place_ = place;
    prefixes_->setGeometry(0, 0, place.width(), place.height());
    int height = place.height();
    if (!note_->isHidden()) {
        const int note_top = height + Cdialog_units(font()).y(3);
        const int note_height = note_->heightForWidth(place.width());
        note_->setGeometry(0, note_top, place.width(), note_height);
        height = note_top + note_height;
    }
    setGeometry(place.x(), place.y(), place.width(), height);
}

void Cqt_prefix_row::add_entry(const wine_prefix& prefix) {
    const QSignalBlocker quiet(prefixes_);
    const int at = static_cast<int>(directories_.size());
    prefixes_->insertItem(at, file_name_text(prefix_entry_text(prefix)));
    directories_.push_back(prefix.directory);
}

void Cqt_prefix_row::on_selected(int index) {
    if (index < 0) {
        return;
    }
    if (index == static_cast<int>(directories_.size())) {
        const QString folder = pick_folder();
        if (folder.isEmpty()) {
            const QSignalBlocker quiet(prefixes_);
            prefixes_->setCurrentIndex(chosen_);
            return;
        }
        add_entry(examine_wine_prefix(QFile::encodeName(folder).toStdString()));
        const QSignalBlocker quiet(prefixes_);
        prefixes_->setCurrentIndex(index);
    }
    chosen_ = index;
    choose_(directories_[static_cast<std::size_t>(index)]);
}
