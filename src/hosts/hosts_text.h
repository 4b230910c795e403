#pragma once
#include <string>
#include <string_view>
#include <vector>

// The second field of a hosts-file line: within the text before its first '#', trimmed, the
// text between the first and the second blank (SP only), trimmed. Empty when there is no blank.
std::string_view hosts_line_second_field(std::string_view line);

// The new hosts text for the old one (LF line ends): every line whose second field is a service
// host name is dropped, every other line is kept as it was and ends in LF, and, when `address`
// is not empty, one line each maps the chat host and the server-list host to it.
std::string rewritten_hosts_text(std::string_view old_text, std::string_view address);

// The same new text, kept as the stretches of the old text it consists of plus the lines added
// at its end, so that a large hosts file is written without being copied first. The old text
// must outlive this object.
class Chosts_rewrite {
  public:
    Chosts_rewrite(std::string_view old_text, std::string_view address);

    // The new text in order, as views into the old text and into this object.
    std::vector<std::string_view> pieces() const;
    std::string text() const;

  private:
    void keep(std::string_view stretch);

    std::vector<std::string_view> kept_;
    std::string added_;
};
