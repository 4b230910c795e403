#include "hosts/hosts_text.h"

#include "support/fixed_texts.h"
#include "support/text_tokens.h"

#include <algorithm>
#include <functional>

namespace {

const std::string_view service_names[] = {chat_host, server_list_host};

char ascii_lower(char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte;
}

bool same_ignoring_ascii_case(char left, char right) {
    return ascii_lower(left) == ascii_lower(right);
}

// Resolvers compare names without regard to letter case.
bool is_service_name(std::string_view name) {
    return std::any_of(
        std::begin(service_names), std::end(service_names), [name](std::string_view service) {
            return name.size() == service.size() &&
                   std::equal(name.begin(), name.end(), service.begin(), same_ignoring_ascii_case);
        });
}

std::size_t skip_blanks(std::string_view text, std::size_t from) {
    while (from < text.size() && is_blank_byte(text[from])) {
        ++from;
    }
    return from;
}

std::size_t skip_field(std::string_view text, std::size_t from) {
    while (from < text.size() && !is_blank_byte(text[from])) {
        ++from;
    }
    return from;
}

struct case_blind_hash {
    std::size_t operator()(char byte) const { return std::hash<char>{}(ascii_lower(byte)); }
};

struct case_blind_equal {
    bool operator()(char left, char right) const { return same_ignoring_ascii_case(left, right); }
};

// The places where a service name occurs in a text, in any letter case, in order.
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
    std::boyer_moore_horspool_searcher<std::string_view::const_iterator, case_blind_hash,
                                       case_blind_equal>
        searcher_;
    std::size_t next_;
};

}  // namespace

std::optional<std::string> hosts_line_without_service_names(std::string_view line) {
    const std::string_view fields = line.substr(0, line.find('#'));
    const std::size_t address_end = skip_field(fields, skip_blanks(fields, 0));
    std::string kept(line.substr(0, address_end));
    bool removed = false;
    bool name_left = false;
    std::size_t separator = address_end;
    for (std::size_t name = skip_blanks(fields, separator); name < fields.size();
         name = skip_blanks(fields, separator)) {
        const std::size_t name_end = skip_field(fields, name);
        if (is_service_name(fields.substr(name, name_end - name))) {
            removed = true;
        } else {
            kept.append(fields.substr(separator, name_end - separator));
            name_left = true;
        }
        separator = name_end;
    }
    if (!removed) {
        return std::string(line);
    }
    if (!name_left) {
        return std::nullopt;
    }
    return kept.append(line.substr(separator));
}

Chosts_rewrite::Chosts_rewrite(std::string_view old_text, std::string_view address) {
    // Only a line that holds a service name somewhere can change: search the names through the
    // whole text and keep the stretches of lines between such lines whole.
    Cname_finder chat_finder{old_text, chat_host};
    Cname_finder server_list_finder{old_text, server_list_host};
    std::size_t kept_from = 0;
    for (;;) {
        const std::size_t hit = std::min(chat_finder.next(), server_list_finder.next());
        if (hit == std::string_view::npos) {
            break;
        }
        const std::size_t line_start = old_text.rfind('\n', hit) + 1;  // npos + 1 is 0
        const std::size_t line_end = std::min(old_text.find('\n', hit), old_text.size());
        const std::size_t next_line = std::min(line_end + 1, old_text.size());
        const std::string_view line = old_text.substr(line_start, line_end - line_start);
        const std::optional<std::string> changed = hosts_line_without_service_names(line);
        if (changed != line) {
            keep(old_text.substr(kept_from, line_start - kept_from));
            if (changed) {
                keep(written_.emplace_back(*changed + '\n'));
            }
            kept_from = next_line;
        }
        chat_finder.skip_to(next_line);
        server_list_finder.skip_to(next_line);
    }
    keep(old_text.substr(kept_from));
    std::string added;
    if (kept_from < old_text.size() && old_text.back() != '\n') {
        added.push_back('\n');
    }
    if (!address.empty()) {
        added.append(address).append(" ").append(chat_host).push_back('\n');
        added.append(address).append(" ").append(server_list_host).push_back('\n');
    }
    keep(written_.emplace_back(std::move(added)));
}

void Chosts_rewrite::keep(std::string_view stretch) {
    if (!stretch.empty()) {
        pieces_.push_back(stretch);
    }
}

std::string Chosts_rewrite::text() const {
    std::size_t size = 0;
    for (const std::string_view piece : pieces_) {
        size += piece.size();
    }
    std::string text;
    text.reserve(size);
    for (const std::string_view piece : pieces_) {
        text.append(piece);
    }
    return text;
}

std::string rewritten_hosts_text(std::string_view old_text, std::string_view address) {
    return Chosts_rewrite(old_text, address).text();
}
