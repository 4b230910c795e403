#pragma once
// Argument lists that both hosts helpers must refuse with exit code 2 and no change: every form
// the program does not write. The Windows helper takes them as the text after its name.
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

// The text after the program name on a Windows command line, refused all the same: each list
// above with its arguments after one blank each, then the shapes only a command line has.
inline std::vector<std::string> refused_command_line_tails() {
    std::vector<std::string> tails;
    for (const refused_case& refused : refused_argument_lists) {
        std::string tail;
        for (const std::string& argument : refused.arguments) {
            tail += (tail.empty() ? "" : " ") + argument;
        }
        tails.push_back(tail);
    }
    for (const char* shape :
         {"apply 1.2.3.4\r", "apply 1.2.3.4\r\n5.6.7.8 evil.example", "\"apply 1.2.3.4\"",
          "\"apply\" \"1.2.3.4\"", "apply \"1.2.3.4\"", "apply \"1.2.3.4 evil.example\"", "/?",
          "reset /?", "apply\t1.2.3.4", "apply  1.2.3.4", "reset ", "-reset"}) {
        tails.push_back(shape);
    }
    return tails;
}
