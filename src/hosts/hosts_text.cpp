#include "hosts/hosts_text.h"

#include "support/fixed_texts.h"
#include "support/text_tokens.h"

#include <algorithm>
#include <functional>

namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && is_blank_byte(text.back())) {
        text.remove_suffix(1);
    }
    while (!text.empty() && is_blank_byte(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

// Takes what next_token would take, as a view: a hosts file of a few hundred thousand lines
// must not cost an allocation per line.
std::string_view take_token(std::string_view& source, char separator) {
    const std::size_t at = source.find(separator);
    const std::string_view token = source.substr(0, at);
    source = at == std::string_view::npos ? std::string_view{} : source.substr(at + 1);
    return trimmed(token);
}

bool is_service_line(std::string_view line) {
    const std::string_view name = hosts_line_second_field(line);
    return name == chat_host || name == server_list_host;
}

// The places where one name occurs in a text, in order.
class Cname_finder {
  public:
    Cname_finder(std::string_view text, std::string_view name)
        : text_(text), searcher_(name.begin(), name.end()), next_(search_from(0)) {}

    // Where the name occurs next, npos when it occurs no more.
    std::size_t next() const { return next_; }

    // Passes over the occurrences before `position`.
    void skip_to(std::size_t position) {
        if (next_ != std::string_view::npos && next_ < position) {
            next_ = search_from(position);
        }
    }

  private:
    std::size_t search_from(std::size_t position) const {
        const auto found = std::search(text_.begin() + position, text_.end(), searcher_);
        return found == text_.end() ? std::string_view::npos
                                    : static_cast<std::size_t>(found - text_.begin());
    }

    std::string_view text_;
    std::boyer_moore_horspool_searcher<std::string_view::const_iterator> searcher_;
    std::size_t next_;
};

}  // namespace

std::string_view hosts_line_second_field(std::string_view line) {
    std::string_view before_comment = take_token(line, '#');
    take_token(before_comment, ' ');
    return take_token(before_comment, ' ');
}

Chosts_rewrite::Chosts_rewrite(std::string_view old_text, std::string_view address) {
    const std::string_view chat{chat_host};
    const std::string_view server_list{server_list_host};
    // Only a line that holds a service name somewhere can be a service line: search the names
    // through the whole text and keep the stretches of lines between such lines whole.
    Cname_finder chat_finder{old_text, chat};
    Cname_finder server_list_finder{old_text, server_list};
    std::size_t kept_from = 0;
    for (;;) {
        const std::size_t hit = std::min(chat_finder.next(), server_list_finder.next());
        if (hit == std::string_view::npos) {
            break;
        }
        const std::size_t line_start = old_text.rfind('\n', hit) + 1;  // npos + 1 is 0
        const std::size_t line_end = std::min(old_text.find('\n', hit), old_text.size());
        const std::size_t next_line = std::min(line_end + 1, old_text.size());
        if (is_service_line(old_text.substr(line_start, line_end - line_start))) {
            keep(old_text.substr(kept_from, line_start - kept_from));
            kept_from = next_line;
        }
        chat_finder.skip_to(next_line);
        server_list_finder.skip_to(next_line);
    }
    keep(old_text.substr(kept_from));
    if (kept_from < old_text.size() && old_text.back() != '\n') {
        added_.push_back('\n');
    }
    if (!address.empty()) {
        added_.append(address).append(" ").append(chat).push_back('\n');
        added_.append(address).append(" ").append(server_list).push_back('\n');
    }
}

void Chosts_rewrite::keep(std::string_view stretch) {
    if (!stretch.empty()) {
        kept_.push_back(stretch);
    }
}

std::vector<std::string_view> Chosts_rewrite::pieces() const {
    std::vector<std::string_view> all = kept_;
    if (!added_.empty()) {
        all.push_back(added_);
    }
    return all;
}

std::string Chosts_rewrite::text() const {
    std::size_t size = added_.size();
    for (const std::string_view stretch : kept_) {
        size += stretch.size();
    }
    std::string text;
    text.reserve(size);
    for (const std::string_view piece : pieces()) {
        text.append(piece);
    }
    return text;
}

std::string rewritten_hosts_text(std::string_view old_text, std::string_view address) {
    return Chosts_rewrite(old_text, address).text();
}
