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
// Until the search has been shown the drop-down says that it is looking; the note line may say
// meanwhile what else the window waits for.
class Cqt_prefix_row : public QWidget {
  public:
    using choose_function = std::function<void(const std::string& directory)>;

    Cqt_prefix_row(choose_function choose, QWidget* parent);

    // Fills the drop-down with what the search found, on the prefix it chose; hands nothing on.
    void show_search(const wine_prefix_search& search);

    // A text the note line shows instead of the search's note for as long as it is not empty.
    void set_waiting_note(const QString& text);

    // Puts the drop-down at `place` in the parent and the note, when there is one, below it at
    // the same width; the row is as tall as the two. A later change of the note places it again.
    void place(const QRect& place);

    // Asks for the folder of the last entry; an empty text when the user gives none. A file
    // dialog unless a test puts something else here.
    std::function<QString()> pick_folder;

  private:
    void on_selected(int index);
    void add_entry(const wine_prefix& prefix);
    void show_note();

    QComboBox* prefixes_;
    QLabel* note_;
    std::vector<std::string> directories_;  // of the entries before the last, in entry order
    int chosen_ = 0;
    QString search_note_;
    QString waiting_note_;
    QRect place_;
    choose_function choose_;
};
