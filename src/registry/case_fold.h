#pragma once
#include <string>
#include <string_view>

// The case-folded form names are compared in (Windows compares key and value names without case).
char16_t fold_non_ascii_case(char16_t c);
inline char16_t fold_case(char16_t c) {
    if (c >= 0x80) {
        return fold_non_ascii_case(c);
    }
    return c >= 'a' && c <= 'z' ? static_cast<char16_t>(c - 'a' + 'A') : c;
}
void fold_case(std::u16string& text);

// A key path as lookups name it: folded, one backslash between components, empty ones dropped.
std::u16string folded_path(std::u16string_view path);

// Writes a key path as folded_path gives it, a unit at a time, to room for as many units as
// are put.
class Cfolded_path_writer {
  public:
    explicit Cfolded_path_writer(char16_t* path) : path_(path) {}

    void put(char16_t unit) {
        if (unit != u'\\') {
            path_[size_++] = fold_case(unit);
        } else if (size_ > 0 && path_[size_ - 1] != u'\\') {
            path_[size_++] = u'\\';
        }
    }

    // The size of the path written so far, without a trailing backslash.
    std::size_t size() const { return size_ > 0 && path_[size_ - 1] == u'\\' ? size_ - 1 : size_; }

  private:
    char16_t* path_;
    std::size_t size_ = 0;
};
