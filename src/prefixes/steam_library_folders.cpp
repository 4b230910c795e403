#include "prefixes/steam_library_folders.h"

#include <boost/algorithm/string/predicate.hpp>

#include <algorithm>
#include <cctype>
#include <optional>

namespace {

// One token of the text: a string (quoted or bare), or an opening or closing brace.
struct token {
    enum kind { text, open, close } what;
    std::string value;
};

class Cvdf_tokens {
  public:
    explicit Cvdf_tokens(std::string_view text) : text_(text) {}

    // The next token; none at the end of the text or at a fault (an unterminated string).
    std::optional<token> next() {
        skip_space_and_comments();
        if (at_ >= text_.size()) {
            return std::nullopt;
        }
        const char c = text_[at_];
        if (c == '{' || c == '}') {
            ++at_;
            return token{c == '{' ? token::open : token::close, {}};
        }
        return c == '"' ? quoted() : bare();
    }

  private:
    void skip_space_and_comments() {
        while (at_ < text_.size()) {
            if (std::isspace(static_cast<unsigned char>(text_[at_]))) {
                ++at_;
            } else if (text_.substr(at_, 2) == "//") {
                const std::size_t end = text_.find('\n', at_);
                at_ = end == std::string_view::npos ? text_.size() : end;
            } else {
                return;
            }
        }
    }

    std::optional<token> quoted() {
        std::string value;
        for (++at_; at_ < text_.size(); ++at_) {
            char c = text_[at_];
            if (c == '"') {
                ++at_;
                return token{token::text, std::move(value)};
            }
            if (c == '\\' && at_ + 1 < text_.size()) {
                c = text_[++at_];
                c = c == 'n' ? '\n' : c == 't' ? '\t' : c;
            }
            value.push_back(c);
        }
        return std::nullopt;
    }

    std::optional<token> bare() {
        const std::size_t begin = at_;
        while (at_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[at_])) &&
               text_[at_] != '"' && text_[at_] != '{' && text_[at_] != '}') {
            ++at_;
        }
        return token{token::text, std::string(text_.substr(begin, at_ - begin))};
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

bool is_number(const std::string& key) {
    return !key.empty() && std::all_of(key.begin(), key.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c));
    });
}

}  // namespace

std::vector<std::string> steam_library_folders(std::string_view vdf_text) {
    std::vector<std::string> folders;
    // The keys of the blocks the reading is in, outermost first; no recursion, so no depth of
    // nesting can exhaust the stack.
    std::vector<std::string> blocks;
    Cvdf_tokens tokens(vdf_text);
    while (std::optional<token> key = tokens.next()) {
        if (key->what == token::close) {
            if (blocks.empty()) {
                break;
            }
            blocks.pop_back();
            continue;
        }
        if (key->what == token::open) {
            break;
        }
        const std::optional<token> value = tokens.next();
        if (!value || value->what == token::close) {
            break;
        }
        if (value->what == token::open) {
            blocks.push_back(std::move(key->value));
            continue;
        }
        const bool in_list =
            !blocks.empty() && boost::algorithm::iequals(blocks.front(), "libraryfolders");
        const bool old_form = in_list && blocks.size() == 1 && is_number(key->value);
        const bool new_form = in_list && blocks.size() == 2 && is_number(blocks[1]) &&
                              boost::algorithm::iequals(key->value, "path");
        if ((old_form || new_form) && !value->value.empty()) {
            folders.push_back(value->value);
        }
    }
    return folders;
}
