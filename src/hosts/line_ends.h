#pragma once
#include <string>
#include <string_view>

// Text-mode line ends done by hand on binary data, so that a Ctrl-Z byte stays an ordinary byte.
// Every CR LF pair becomes LF; a lone CR stays.
std::string lf_line_ends(std::string_view crlf_text);
// Every LF becomes CR LF.
std::string crlf_line_ends(std::string_view lf_text);
