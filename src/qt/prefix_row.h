#pragma once
#include "prefixes/wine_prefix_discovery.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;

// The main window's Wine prefix row: a drop-down of the prefixes found, each naming its folder
// and the games in it, with a last entry to pick any folder; below it, when no prefix holds a
// game, a note saying so and where the program looked. Choosing an entry hands its folder on.
class Cqt_prefix_row : public QWidget {
  public:
    using choose_function = std::function<void(const std::string& directory)>;

    Cqt_prefix_row(const wine_prefix_search& search, choose_function choose, QWidget* parent);

    // Puts the drop-down at `place` in the parent and the note, when there is one, below it at
    // the same width; the row is as tall as the two.
    void place(const QRect& place);

    // Asks for the folder of the last entry; an empty text when the user gives none. A file
    // dialog unless a test puts something else here.
    std::function<QString()> pick_folder;

  private:
    void on_selected(int index);
    void add_entry(const wine_prefix& prefix);

    QComboBox* prefixes_;
    QLabel* note_;
    std::vector<std::string> directories_;  // of the entries before the last, in entry order
    int chosen_ = 0;
    choose_function choose_;
};
