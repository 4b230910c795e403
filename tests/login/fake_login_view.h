#pragma once
#include "login/login_view.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

// A combo box as the platform's control behaves. A sorted one places a new entry before the
// first entry whose text is greater, comparing bytes with ASCII letters folded to lower case
// (the case-insensitive order of a sorted Windows combo box for plain ASCII nicks); an entry
// equal to existing ones goes after them. New entries carry item data 0.
class fake_combo : public Ccombo_view {
  public:
    struct entry {
        std::string text;
        std::int64_t data = 0;

        friend bool operator==(const entry& a, const entry& b) {
            return a.text == b.text && a.data == b.data;
        }
        friend void PrintTo(const entry& e, std::ostream* out) {
            *out << '"' << e.text << "\"/" << e.data;
        }
    };

    explicit fake_combo(bool sorted) : sorted_(sorted) {}

    int add_string(const std::string& text) override;
    void set_item_data(int index, std::int64_t data) override;
    void set_selection(int index) override;
    int selected_index() const override { return selection_; }
    std::int64_t item_data(int index) const override;

    // Selects the first entry showing `text`; fails the test when there is none.
    void select_text(const std::string& text);

    std::vector<entry> entries;

  private:
    bool sorted_;
    int selection_ = -1;
};

class fake_login_view : public Clogin_view {
  public:
    Ccombo_view& game_combo() override { return games; }
    Ccombo_view& nick_combo() override { return nicks; }
    bool read_controls(std::int32_t& reset_passwords, std::string& transcript) override;
    void show_in_controls(std::int32_t reset_passwords, const std::string& transcript) override;
    void begin_wait_cursor() override {
        ++cursor_depth;
        ++cursor_begins;
    }
    void end_wait_cursor() override { --cursor_depth; }

    fake_combo games{false};
    fake_combo nicks{true};

    // What the controls show.
    bool reset_checked = false;
    std::string transcript_text;

    bool controls_readable = true;
    int shows = 0;
    int cursor_depth = 0;
    int cursor_begins = 0;
};
