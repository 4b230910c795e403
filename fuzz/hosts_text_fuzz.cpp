// The hosts-file rewrite's text transformation on any old text. The first input byte chooses
// between a rewrite that only removes lines and one that also maps the names to an address.
#include "fuzz_check.h"
#include "hosts/hosts_text.h"
#include "support/fixed_texts.h"
#include "support/text_tokens.h"

#include <cctype>
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

// The fields of a line's text before its first '#', split at white space.
std::vector<std::string> fields_of(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    for (const char byte : line.substr(0, line.find('#'))) {
        if (!is_blank_byte(byte)) {
            field.push_back(byte);
        } else if (!field.empty()) {
            fields.push_back(std::move(field));
            field.clear();
        }
    }
    if (!field.empty()) {
        fields.push_back(std::move(field));
    }
    return fields;
}

bool is_service_name(std::string name) {
    for (char& byte : name) {
        byte = static_cast<char>(std::tolower(static_cast<unsigned char>(byte)));
    }
    return name == chat_host || name == server_list_host;
}

// The fields less the service names among the names (the address is no name).
std::vector<std::string> without_service_names(const std::vector<std::string>& fields) {
    std::vector<std::string> kept;
    for (std::size_t at = 0; at < fields.size(); ++at) {
        if (at == 0 || !is_service_name(fields[at])) {
            kept.push_back(fields[at]);
        }
    }
    return kept;
}

std::string comment_of(const std::string& line) {
    const std::size_t hash = line.find('#');
    return hash == std::string::npos ? std::string() : line.substr(hash);
}

// Without an address every line is kept byte for byte and in order, or loses exactly its service
// names and keeps its address, other names and comment, or goes when no name remains. No line of
// the result maps a service name.
void check_only_removes(const std::string& old_text, const std::string& new_text) {
    FUZZ_CHECK(new_text.empty() || new_text.back() == '\n');
    const std::vector<std::string> kept = lines_of(new_text);
    std::size_t next_kept = 0;
    for (const std::string& line : lines_of(old_text)) {
        const std::vector<std::string> fields = fields_of(line);
        const std::vector<std::string> remaining = without_service_names(fields);
        if (remaining.size() == fields.size()) {
            FUZZ_CHECK(next_kept < kept.size() && kept[next_kept] == line);
        } else if (remaining.size() == 1) {
            continue;
        } else {
            FUZZ_CHECK(next_kept < kept.size() && fields_of(kept[next_kept]) == remaining);
            FUZZ_CHECK(comment_of(kept[next_kept]) == comment_of(line));
        }
        ++next_kept;
    }
    FUZZ_CHECK(next_kept == kept.size());
    for (const std::string& line : kept) {
        const std::vector<std::string> fields = fields_of(line);
        FUZZ_CHECK(without_service_names(fields).size() == fields.size());
    }
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
