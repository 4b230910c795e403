#pragma once
#include "login/wait_cursor.h"

#include <cstdint>
#include <string>

// A drop-down list whose entries carry a number beside their text.
class Ccombo_view {
  public:
    virtual ~Ccombo_view() = default;

    // Adds an entry and returns the index the control gave it; a sorted control picks the
    // place itself, so the index need not be the last one.
    virtual int add_string(const std::string& text) = 0;
    virtual void set_item_data(int index, std::int64_t data) = 0;

    // Selects an entry; an index that names none leaves the control without a selection.
    virtual void set_selection(int index) = 0;

    // The selected entry's index, or a negative value when nothing is selected.
    virtual int selected_index() const = 0;

    // An entry's item data, or a negative value when `index` names no entry.
    virtual std::int64_t item_data(int index) const = 0;
};

// The login dialog as its logic sees it.
class Clogin_view : public Cwait_cursor_view {
  public:
    virtual ~Clogin_view() = default;

    virtual Ccombo_view& game_combo() = 0;
    virtual Ccombo_view& nick_combo() = 0;

    // Takes the check state of "Reset Passwords" (1 or 0) and the transcript's text from the
    // controls. Returns false when the controls could not be read; the values are then not
    // to be trusted.
    virtual bool read_controls(std::int32_t& reset_passwords, std::string& transcript) = 0;

    // Puts the check state and the transcript into the controls.
    virtual void show_in_controls(std::int32_t reset_passwords, const std::string& transcript) = 0;
};
