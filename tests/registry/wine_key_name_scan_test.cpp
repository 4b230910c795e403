#include "registry/wine_key_name_scan.h"
#include "registry/wine_registry_file.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

const std::string header = "WINE REGISTRY Version 2\n\n#arch=win64\n\n";

// Lines of a fresh prefix's shape, none of which writes the name: enough of them that every
// written line below lands at each place within the blocks looked at together.
std::string ordinary_lines(int count) {
    std::string lines;
    for (int i = 0; i < count; ++i) {
        lines += "[Software\\\\Classes\\\\CLSID\\\\{" + std::to_string(i * 7919) + "}] 1\n" +
                 "@=\"Component " + std::string(i % 13, 'x') + "\"\n" +
                 "\"Data\"=hex:00,01,02,\\\n  03,04\n\n";
    }
    return lines;
}

// Whether the parser finds a key named WESTWOOD where the files below write one.
bool parser_finds_it(const std::string& text) {
    const Cwine_registry registry(text);
    for (const char16_t* path : {u"WESTWOOD", u"SOFTWARE\\WESTWOOD", u"SOFTWARE\\X\\WESTWOOD"}) {
        if (registry.has_key(path)) {
            return true;
        }
    }
    return false;
}

TEST(may_hold_key_named, sees_the_name_however_a_key_line_spells_it_wherever_it_stands) {
    const struct {
        const char* key_line;
        const char* how;
    } spellings[] = {
        {"[Software\\\\Westwood\\\\Nox] 1", "plainly"},
        {"[software\\\\WESTWOOD] 1", "in other letter cases"},
        {"[wEsTwOoD]", "alone, without a time"},
        {"[Software\\\\X\\\\Westwood\\\\Tiberian Sun] 1", "deeper"},
        {"  \t\r[Software\\\\Westwood] 1", "after blanks"},
        {"[Software\\\\\\x0057estwood] 1", "with a hex escape"},
        {"[Software\\\\Westwoo\\x0064] 1", "with a four-digit hex escape at its end"},
        {"[Software\\\\\\127estwood] 1", "with an octal escape"},
        {"[Software\\\\We\\stwood] 1", "with a letter escaped as itself"},
        {"[Software\\\\\\\\\\Westwood] 1", "after a run of five backslashes"},
        {"[Software\\\\We\xC5\xBFtwood] 1", "with a long s, which folds to S"},
        {"[Software\\\\We\\x17ftwood] 1", "with a long s escaped"},
        {"[Software\\x5cWestwood] 1", "after a backslash written as an escape"},
    };
    for (const auto& spelling : spellings) {
        // Before the line, 0 to 99 bytes more, so that the name meets every place in a block.
        for (std::size_t shift = 0; shift < 100; ++shift) {
            const std::string text = header + std::string(shift, ';') + "\n" + ordinary_lines(3) +
                                     spelling.key_line + "\n\"V\"=\"1\"\n\n" + ordinary_lines(3);
            ASSERT_TRUE(parser_finds_it(text)) << spelling.how;
            EXPECT_TRUE(may_hold_key_named(text, "WESTWOOD"))
                << spelling.how << ", shift " << shift;
        }
    }
}

TEST(may_hold_key_named, passes_over_a_file_whose_key_lines_cannot_name_it) {
    const struct {
        const char* lines;
        const char* what;
    } texts[] = {
        {"", "no other line"},
        {"\"InstallPath\"=\"C:\\\\Westwood\\\\RA2\"", "the name in a value"},
        {";; Westwood", "the name in a comment"},
        {"\"Path\"=\"We\\x73twood\\0\\\"\"", "escapes in a value"},
        {"\"B\"=hex:57,65,\\\n  73,74", "hex data run on"},
        {"[Software\\\\Westwoo\\\\d] 1", "the name cut by a separator"},
        {"[Software\\\\Westwoo] 1", "a shorter name"},
        {"[Software\\\\Eastwood] 1\n[Software\\\\Westwork] 1", "other names alike"},
        {"[Software\\\\Wine]\\", "a backslash ending the line"},
    };
    for (const auto& text : texts) {
        for (std::size_t shift = 0; shift < 70; ++shift) {
            const std::string file = header + std::string(shift, ';') + "\n" + ordinary_lines(3) +
                                     text.lines + "\n" + ordinary_lines(3);
            EXPECT_FALSE(may_hold_key_named(file, "WESTWOOD")) << text.what << ", shift " << shift;
        }
    }
}

TEST(may_hold_key_named, looks_at_names_of_any_length_up_to_the_texts_last_byte) {
    const std::string file = header + ordinary_lines(5);
    for (const char* name : {"SOFTWARE", "S", "CLASSES", "{31676}"}) {
        EXPECT_TRUE(may_hold_key_named(file, name)) << name;
    }
    for (const char* name : {"Y", "YZ", "WESTWOOD"}) {
        EXPECT_FALSE(may_hold_key_named(file, name)) << name;
        EXPECT_TRUE(may_hold_key_named(file + "[" + name, name)) << name << " at the end";
    }
    EXPECT_FALSE(may_hold_key_named(file + "[Westwoo", "WESTWOOD")) << "cut off at the end";
    EXPECT_TRUE(may_hold_key_named(file + "[\xE9", "Y")) << "a byte beyond ASCII at the end";
}

// Key lines put together from pieces that spell names in every way the parser reads them; the
// parser says which hold the name, and the scan may never miss one of those.
TEST(may_hold_key_named, never_misses_a_key_the_parser_finds_in_random_files) {
    const std::vector<std::string> letters_of_w = {"W", "w", "\\x57", "\\127", "\\W", "\\x0077"};
    const std::vector<std::string> separators = {"\\\\", "\\x5c", "\\134", "\\\\\\\\", "\\"};
    const std::vector<std::string> names = {
        "Software",    "X",    "estwood", "est\\wood", "e\xC5\xBFtwood",
        "es\\x74wood", "\xC3", "wood",    "\\\"",      "]"};
    std::mt19937 random(20261210);
    const auto pick = [&random](const std::vector<std::string>& from) {
        return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
    };
    int found = 0;
    for (int round = 0; round < 4000; ++round) {
        std::string text = header + std::string(random() % 40, ' ') + "\n";
        for (int line = random() % 4; line >= 0; --line) {
            text += std::string(random() % 3, ' ') + "[";
            for (int part = random() % 4; part >= 0; --part) {
                text += (random() % 2 ? pick(letters_of_w) : "") + pick(names) + pick(separators);
            }
            text += "] 1\n\"V\"=\"" + pick(names) + "\"\n";
        }
        if (parser_finds_it(text)) {
            ++found;
            ASSERT_TRUE(may_hold_key_named(text, "WESTWOOD")) << text;
        }
    }
    EXPECT_GT(found, 100) << "the pieces name the key often enough to tell";
}

}  // namespace
