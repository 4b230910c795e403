#pragma once
// Argument lists that both hosts helpers must refuse with exit code 2 and no change: every form
// the program does not write. The Windows helper's test passes them as a command line, each
// argument after one blank.
#include <string>
#include <vector>

struct refused_case {
    const char* what;
    std::vector<std::string> arguments;
};

inline const std::vector<refused_case> refused_argument_lists = {
    {"no_arguments", {}},
    {"three_fields", {"apply", "1.2.3"}},
    {"five_fields", {"apply", "1.2.3.4.5"}},
    {"field_above_255", {"apply", "256.0.0.1"}},
    {"leading_zero", {"apply", "01.2.3.4"}},
    {"trailing_blank", {"apply", "1.2.3.4 "}},
    {"trailing_line_end", {"apply", "1.2.3.4\n"}},
    {"a_second_line", {"apply", "1.2.3.4\n5.6.7.8 evil.example"}},
    {"empty_field", {"apply", "1..3.4"}},
    {"sign", {"apply", "+1.2.3.4"}},
    {"host_name", {"apply", "localhost"}},
    {"empty_address", {"apply", ""}},
    {"no_address", {"apply"}},
    {"third_argument", {"apply", "1.2.3.4", "extra"}},
    {"reset_with_an_argument", {"reset", "1.2.3.4"}},
    {"a_path", {"--path", "/etc/passwd"}},
    {"path_after_the_verb", {"reset", "--path", "/etc/passwd"}},
    {"unknown_verb", {"remove"}},
    {"verb_in_capitals", {"RESET"}},
};
