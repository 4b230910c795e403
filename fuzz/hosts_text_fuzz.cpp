// The hosts-file rewrite's text transformation on any old text. The first input byte chooses
// between a rewrite that only removes lines and one that also maps the names to an address.
#include "fuzz_check.h"
#include "hosts/hosts_text.h"
#include "support/fixed_texts.h"
#include "support/text_tokens.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The lines as the rewrite reads them: a last line without LF counts, and a final LF starts no
// further line.
std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The second field taken with next_token itself, the way the line filter is defined.
std::string second_field_by_tokens(std::string line) {
    std::string before_comment = next_token(line, '#');
    next_token(before_comment, ' ');
    return next_token(before_comment, ' ');
}

bool is_service_name(const std::string& name) {
    return name == chat_host || name == server_list_host;
}

// Without an address every line is kept byte for byte and in order, or dropped because it maps
// a service name; nothing else is in the new text.
void check_only_removes(const std::string& old_text, const std::string& new_text) {
    FUZZ_CHECK(new_text.empty() || new_text.back() == '\n');
    const std::vector<std::string> kept = lines_of(new_text);
    std::size_t next_kept = 0;
    for (const std::string& line : lines_of(old_text)) {
        const std::string field = second_field_by_tokens(line);
        FUZZ_CHECK(hosts_line_second_field(line) == field);
        if (is_service_name(field)) {
            continue;
        }
        FUZZ_CHECK(next_kept < kept.size() && kept[next_kept] == line);
        ++next_kept;
    }
    FUZZ_CHECK(next_kept == kept.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string address = (data[0] & 1) != 0 ? "192.0.2.10" : "";
    const std::string old_text(reinterpret_cast<const char*>(data) + 1, size - 1);

    const std::string removed = rewritten_hosts_text(old_text, "");
    check_only_removes(old_text, removed);

    const std::string new_text = rewritten_hosts_text(old_text, address);
    const std::string pair = address.empty() ? std::string()
                                             : address + " " + chat_host + "\n" + address + " " +
                                                   server_list_host + "\n";
    FUZZ_CHECK(new_text == removed + pair);

    std::string from_pieces;
    const Chosts_rewrite rewrite(old_text, address);
    for (const std::string_view piece : rewrite.pieces()) {
        from_pieces += piece;
    }
    FUZZ_CHECK(from_pieces == new_text);

    // Applying the same rewrite again changes nothing: the pair it wrote are service lines.
    FUZZ_CHECK(rewritten_hosts_text(new_text, address) == new_text);
    return 0;
}
