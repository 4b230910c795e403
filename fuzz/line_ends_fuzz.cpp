// The hand-made text-mode line ends on any bytes: LF to CR LF and back gives the bytes again,
// each pass changes only line ends, and no LF is left alone after the first.
#include "fuzz_check.h"
#include "hosts/line_ends.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string crlf = crlf_line_ends(bytes);
    const auto line_feeds = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
    FUZZ_CHECK(crlf.size() == size + line_feeds);
    for (std::size_t at = 0; at < crlf.size(); ++at) {
        FUZZ_CHECK(crlf[at] != '\n' || (at > 0 && crlf[at - 1] == '\r'));
    }
    FUZZ_CHECK(lf_line_ends(crlf) == bytes);

    // Only CR LF pairs go, each to its LF: the other bytes stay, in order.
    const std::string lf = lf_line_ends(bytes);
    std::size_t pairs = 0;
    for (std::size_t at = 0; at + 1 < size; ++at) {
        pairs += bytes[at] == '\r' && bytes[at + 1] == '\n';
    }
    FUZZ_CHECK(lf.size() == size - pairs);
    std::string without_cr(bytes), lf_without_cr(lf);
    without_cr.erase(std::remove(without_cr.begin(), without_cr.end(), '\r'), without_cr.end());
    lf_without_cr.erase(std::remove(lf_without_cr.begin(), lf_without_cr.end(), '\r'),
                        lf_without_cr.end());
    FUZZ_CHECK(lf_without_cr == without_cr);
    return 0;
}
