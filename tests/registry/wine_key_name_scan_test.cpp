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

// A file with `lines` among ordinary ones, `shift` bytes further in for each shift from 0 to 99,
// so that what the lines write meets every place within the blocks looked at together.
std::vector<std::string> files_around(const std::string& lines) {
    std::vector<std::string> files;
    for (std::size_t shift = 0; shift < 100; ++shift) {
        files.push_back(header + std::string(shift, ';') + "\n" + ordinary_lines(3) + lines + "\n" +
                        ordinary_lines(3));
    }
    return files;
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

TEST(may_hold_key_named, sees_the_name_however_a_key_line_spells_it_and_nowhere_else) {
    const struct {
        const char* lines;
        bool named;  // whether a key line names the key, as the parser reads it
        const char* how;
    } texts[] = {
        {"[Software\\\\Westwood\\\\Nox] 1", true, "plainly"},
        {"[software\\\\WESTWOOD] 1", true, "in other letter cases"},
        {"[wEsTwOoD]", true, "alone, without a time"},
        {"[Software\\\\X\\\\Westwood\\\\Tiberian Sun] 1", true, "deeper"},
        {"  \t\r[Software\\\\Westwood] 1", true, "after blanks"},
        {"[Software\\\\\\x0057estwood] 1", true, "with a hex escape"},
        {"[Software\\\\Westwoo\\x0064] 1", true, "with a four-digit hex escape at its end"},
        {"[Software\\\\\\127estwood] 1", true, "with an octal escape"},
        {"[Software\\\\We\\stwood] 1", true, "with a letter escaped as itself"},
        {"[Software\\\\\\\\\\Westwood] 1", true, "after a run of five backslashes"},
        {"[Software\\\\We\xC5\xBFtwood] 1", true, "with a long s, which folds to S"},
        {"[Software\\\\We\\x17ftwood] 1", true, "with a long s escaped"},
        {"[Software\\x5cWestwood] 1", true, "after a backslash written as an escape"},
        {"", false, "no other line"},
        {"\"InstallPath\"=\"C:\\\\Westwood\\\\RA2\"", false, "in a value"},
        {";; Westwood", false, "in a comment"},
        {"\"Path\"=\"We\\x73twood\\0\\\"\"", false, "with escapes in a value"},
        {"\"B\"=hex:57,65,\\\n  73,74", false, "in hex data run on"},
        {"[Software\\\\Westwoo\\\\d] 1", false, "cut by a separator"},
        {"[Software\\\\Westwoo] 1", false, "shorter"},
        {"[Software\\\\Eastwood] 1\n[Software\\\\Westwork] 1", false, "as other names alike"},
        {"[Software\\\\Wine]\\", false, "with a backslash ending a key line"},
        {"[Software\\\\Westwoods] 1", false, "longer"},
        {"[Software\\\\Westwoo\\x5cd] 1", false, "cut by a separator written as an escape"},
        {"[Software\\\\Westwood 1", false, "in a key line that no ']' ends"},
        {"[Control Panel\\\\International\\\\\\xd83c\\xdf0e\\xd83c\\xdf0f] 1", false,
         "beside escapes of characters beyond ASCII, as Wine writes them"},
    };
    for (const auto& text : texts) {
        for (const std::string& file : files_around(text.lines)) {
            ASSERT_EQ(parser_finds_it(file), text.named) << text.how;
            EXPECT_EQ(may_hold_key_named(file, "WESTWOOD"), text.named)
                << text.how << " in " << file;
        }
    }
}

TEST(may_hold_key_named, looks_at_names_of_any_length_up_to_the_texts_last_byte) {
    const std::string file = header + "[Software\\\\A\\\\BC] 1\n" + ordinary_lines(5);
    for (const char* name : {"A", "BC", "SOFTWARE", "CLASSES", "{31676}"}) {
        EXPECT_TRUE(may_hold_key_named(file, name)) << name;
    }
    for (const char* name : {"S", "Y", "YZ", "WESTWOOD"}) {
        EXPECT_FALSE(may_hold_key_named(file, name)) << name;
        EXPECT_TRUE(may_hold_key_named(file + "[" + name + "]", name)) << name << " at the end";
    }
    EXPECT_FALSE(may_hold_key_named(file + "[Westwoo]", "WESTWOOD")) << "cut off at the end";
    EXPECT_TRUE(may_hold_key_named(file + "[\xC5\xBF]", "S")) << "a byte beyond ASCII at the end";
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
