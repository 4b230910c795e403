#pragma once
#include "login/login_view.h"

class QComboBox;

// A drop-down list as the login logic sees it. A sorted one places each new entry itself,
// ignoring case, and reports where, as the Windows sorted combo box does; so entry 0 is the
// same on both platforms.
class Cqt_combo : public Ccombo_view {
  public:
    Cqt_combo(QComboBox* control, bool sorted) : control_(control), sorted_(sorted) {}

    int add_string(const std::string& text) override;
    void set_item_data(int index, std::int64_t data) override;
    void set_selection(int index) override;
    int selected_index() const override;
    std::int64_t item_data(int index) const override;

  private:
    QComboBox* control_;
    bool sorted_;
};
