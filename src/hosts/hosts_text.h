#pragma once
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A hosts-file line (without its LF) as a rewrite leaves it. Within the text before its first
// '#', fields are separated by any run of white space; the first is the address, the others are
// names. A line none of whose names is a service host name (ASCII letter case ignored) comes back
// unchanged. Otherwise the service names go, each with the white space before it, and the rest
// of the line stays as it was; when no name remains the line goes whole (nullopt).
std::optional<std::string> hosts_line_without_service_names(std::string_view line);

// The new hosts text for the old one (LF line ends): every line loses its service names as
// above, every other line is kept as it was and ends in LF, and, when `address` is not empty,
// one line each maps the chat host and the server-list host to it.
std::string rewritten_hosts_text(std::string_view old_text, std::string_view address);

// The same new text, kept as the stretches of the old text it consists of, the lines it changed
// and the lines added at its end, so that a large hosts file is written without being copied
// first. The old text must outlive this object, which hands out views into itself.
class Chosts_rewrite {
  public:
    Chosts_rewrite(std::string_view old_text, std::string_view address);
    Chosts_rewrite(const Chosts_rewrite&) = delete;
    Chosts_rewrite& operator=(const Chosts_rewrite&) = delete;

    // The new text in order, as views into the old text and into this object.
    const std::vector<std::string_view>& pieces() const { return pieces_; }
    std::string text() const;

  private:
    void keep(std::string_view stretch);

    std::vector<std::string_view> pieces_;
    // A deque never moves what it already holds, so the views into it stay valid.
    std::deque<std::string> written_;
};
