#include "login/fake_login_view.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

char folded(char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte;
}

bool less_ignoring_case(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(folded(x)) < static_cast<unsigned char>(folded(y));
    });
}

}  // namespace

int fake_combo::add_string(const std::string& text) {
    auto at = entries.end();
    if (sorted_) {
        at = std::find_if(entries.begin(), entries.end(),
                          [&](const entry& e) { return less_ignoring_case(text, e.text); });
    }
    const int index = static_cast<int>(at - entries.begin());
    entries.insert(at, entry{text, 0});
    if (selection_ >= index) {
        ++selection_;
    }
    return index;
}

void fake_combo::set_item_data(int index, std::int64_t data) {
    ASSERT_GE(index, 0);
    ASSERT_LT(index, static_cast<int>(entries.size()));
    entries[static_cast<std::size_t>(index)].data = data;
}

void fake_combo::set_selection(int index) {
    selection_ = index >= 0 && index < static_cast<int>(entries.size()) ? index : -1;
}

std::int64_t fake_combo::item_data(int index) const {
    if (index < 0 || index >= static_cast<int>(entries.size())) {
        return -1;
    }
    return entries[static_cast<std::size_t>(index)].data;
}

void fake_combo::select_text(const std::string& text) {
    const auto at = std::find_if(entries.begin(), entries.end(),
                                 [&](const entry& e) { return e.text == text; });
    ASSERT_NE(at, entries.end()) << text;
    selection_ = static_cast<int>(at - entries.begin());
}

bool fake_login_view::read_controls(std::int32_t& reset_passwords, std::string& transcript) {
    if (!controls_readable) {
        return false;
    }
    reset_passwords = reset_checked ? 1 : 0;
    transcript = transcript_text;
    return true;
}

void fake_login_view::show_in_controls(std::int32_t reset_passwords,
                                       const std::string& transcript) {
    ++shows;
    reset_checked = reset_passwords != 0;
    transcript_text = transcript;
}
