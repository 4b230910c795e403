#include "registry/wine_registry_file.h"
#include "registry/ansi_code_page.h"
#include "registry/case_fold.h"
#include "registry/wine_escapes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <random>
#include <utility>
#include <vector>
#include <string>

using namespace std::string_literals;

namespace {

const std::string header = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n";

std::u16string folded(std::u16string text) {
    fold_case(text);
    return text;
}

// The value's bytes, or "<none>" when the key or value is not found.
std::string value_of(const Cwine_registry& registry, const std::u16string& key,
                     const std::u16string& name, std::uint32_t* type = nullptr) {
    wine_registry_value value;
    if (!registry.find_value(folded(key), folded(name), value)) {
        return "<none>";
    }
    if (type != nullptr) {
        *type = value.type;
    }
    return value.data;
}

std::string utf16(const std::u16string& text) {
    std::string bytes;
    for (const char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

struct value_case {
    const char* line;    // the value line(s) in key [K]
    std::uint32_t type;  // expected type when found
    std::string bytes;   // expected data, or "<none>" when the line must be skipped
};

class wine_registry_value_line : public testing::TestWithParam<value_case> {};

TEST_P(wine_registry_value_line, reads_as_wine_stores_it) {
    const value_case& c = GetParam();
    const Cwine_registry registry(header + "[K] 1\n" + c.line + "\n\n[L] 2\n\"v\"=\"other\"\n");
    std::uint32_t type = 0;
    EXPECT_EQ(value_of(registry, u"K", u"v", &type), c.bytes);
    if (c.bytes != "<none>") {
        EXPECT_EQ(type, c.type);
    }
    EXPECT_EQ(value_of(registry, u"L", u"v"), utf16(u"other\0"s)) << "the next key is intact";
}

INSTANTIATE_TEST_SUITE_P(
    types_and_escapes, wine_registry_value_line,
    testing::Values(
        value_case{"\"v\"=\"abc\"", reg_sz, utf16(u"abc\0"s)},
        value_case{"\"v\"=\"\"", reg_sz, utf16(u"\0"s)},
        value_case{"\"v\"=\"a\\\\b\\\"c\"", reg_sz, utf16(u"a\\b\"c\0"s)},
        value_case{"\"v\"=\"\\n\\r\\t\\a\\b\\f\\v\\e\"", reg_sz, utf16(u"\n\r\t\a\b\f\v\x1B\0"s)},
        value_case{"\"v\"=\"J\\xf6rg\"", reg_sz, utf16(u"J\u00F6rg\0"s)},
        value_case{"\"v\"=\"\\x00e9a\\x65e5\\x1\"", reg_sz, utf16(u"\u00E9a\u65E5\x01\0"s)},
        value_case{"\"v\"=\"\\101\\0\\7a\"", reg_sz,
                   utf16(u"A\0\x07"
                         u"a\0"s)},
        value_case{"\"v\"=\"\\xg\\q\"", reg_sz, utf16(u"xgq\0"s)},
        value_case{"\"v\"=\"J\xC3\xB6rg \xE6\x97\xA5\"", reg_sz, utf16(u"J\u00F6rg \u65E5\0"s)},
        value_case{"\"v\"=str:\"s\"", reg_sz, utf16(u"s\0"s)},
        value_case{"\"v\"=str(2):\"%PATH%\"", reg_expand_sz, utf16(u"%PATH%\0"s)},
        value_case{"\"v\"=str(7):\"a\\0b\\0\"", reg_multi_sz, utf16(u"a\0b\0\0"s)},
        value_case{"\"v\"=dword:04030201", reg_dword, "\x01\x02\x03\x04"},
        value_case{"\"v\"=dword:123456789", reg_dword, "\x89\x67\x45\x23"},
        value_case{"\"v\"=dword:", reg_dword, "\0\0\0\0"s},
        value_case{"\"v\"=hex:", reg_binary, ""},
        value_case{"\"v\"=hex:61,62,63", reg_binary, "abc"},
        value_case{"\"v\"=hex:61,\\\n  62,\\\n  63", reg_binary, "abc"},
        value_case{"\"v\"=hex(b):01,02,03,04,05,06,07,08", 11, "\x01\x02\x03\x04\x05\x06\x07\x08"},
        value_case{"\"v\"=hex(100000):ff", 0x100000, "\xFF"},
        value_case{"\"v\"=hex(1):61,00,62,00", reg_sz, "a\0b\0"s},
        value_case{"\"v\" = \"spaced\"", reg_sz, utf16(u"spaced\0"s)},
        value_case{"\"V\"=\"case\"", reg_sz, utf16(u"case\0"s)},
        value_case{"\"v\"=\"first\"\n\"v\"=\"second\"", reg_sz, utf16(u"second\0"s)},
        value_case{"\"v\"=\"kept\"\n\"v\"=hex:zz", reg_sz, utf16(u"kept\0"s)},
        value_case{"\"v\"=\"unterminated", 0, "<none>"}, value_case{"\"v\"=hex:1ff", 0, "<none>"},
        value_case{"\"v\"=hex:61,x", 0, "<none>"}, value_case{"\"v\"=hex(7:61", 0, "<none>"},
        value_case{"\"v\"=str(3):\"x\"", 0, "<none>"}, value_case{"\"v\"=\\\n", 0, "<none>"},
        value_case{"\"v\"", 0, "<none>"}, value_case{"\"v\"\"x\"", 0, "<none>"},
        value_case{"\"v", 0, "<none>"}, value_case{"\"v\"=hex:61,\\", reg_binary, "a"}));

TEST(wine_registry, reads_the_default_value_under_the_empty_name) {
    const Cwine_registry registry(header + "[K] 1\n@=\"def\"\n\"x\"=\"named\"\n");
    EXPECT_EQ(value_of(registry, u"K", u""), utf16(u"def\0"s));
}

TEST(wine_registry, finds_keys_without_case_and_the_keys_above_them) {
    const Cwine_registry registry(header + "#arch=win64\n\n[Software\\\\Westwood\\\\Nox] 1\n");
    EXPECT_TRUE(registry.is_win64());
    for (const char16_t* path :
         {u"SOFTWARE\\WESTWOOD\\NOX", u"SOFTWARE\\WESTWOOD", u"SOFTWARE", u""}) {
        EXPECT_TRUE(registry.has_key(path)) << "path " << path[0];
    }
    EXPECT_FALSE(registry.has_key(u"SOFTWARE\\WEST"));
    EXPECT_FALSE(registry.has_key(u"NOX"));
}

TEST(wine_registry, merges_the_values_of_a_key_written_twice) {
    const Cwine_registry registry(header +
                                  "[A] 1\n\"x\"=\"1\"\n\"y\"=\"1\"\n\n[B] 1\n\n[a] 2\n"
                                  "\"y\"=\"2\"\n");
    EXPECT_EQ(value_of(registry, u"A", u"x"), utf16(u"1\0"s));
    EXPECT_EQ(value_of(registry, u"A", u"y"), utf16(u"2\0"s));
}

TEST(wine_registry, a_key_written_many_times_among_others_keeps_every_writing_in_order) {
    // Each writing of A sets "n" to its number and a value of its own; B and a key below A come
    // between the writings, in every spelling.
    std::string text = header;
    constexpr int writings = 3000;
    for (int i = 0; i < writings; ++i) {
        const std::string n = std::to_string(i);
        text += (i % 2 ? "[a] " : "[A] ") + n + "\n\"n\"=\"" + n + "\"\n\"v" + n + "\"=\"" + n +
                "\"\n[B\\\\c" + std::to_string(i % 7) + "] 1\n\"n\"=\"b" + n + "\"\n";
        if (i % 500 == 0) {
            text += "[A\\\\Below] 1\n\"n\"=\"below" + n + "\"\n";
        }
    }
    const Cwine_registry registry(text);
    const std::string last = std::to_string(writings - 1);
    EXPECT_EQ(value_of(registry, u"A", u"N"),
              utf16(std::u16string(last.begin(), last.end()) + u'\0'));
    for (const int i : {0, 1, 1499, writings - 1}) {
        const std::string n = std::to_string(i);
        const std::u16string name = u"V" + std::u16string(n.begin(), n.end());
        EXPECT_EQ(value_of(registry, u"A", name), utf16(std::u16string(n.begin(), n.end()) + u'\0'))
            << n;
    }
    EXPECT_EQ(value_of(registry, u"A\\BELOW", u"N"), utf16(u"below2500\0"s));
    EXPECT_EQ(value_of(registry, u"B\\C6", u"N"), utf16(u"b2995\0"s));
    EXPECT_TRUE(registry.has_key(u"B"));
    EXPECT_FALSE(registry.has_key(u"B\\C7"));
    EXPECT_FALSE(registry.has_key(u"A\\B"));
}

TEST(wine_registry, skips_the_values_of_a_key_line_it_cannot_read) {
    const Cwine_registry registry(header +
                                  "[A] 1\n\"x\"=\"a\"\n[Broken\n\"x\"=\"lost\"\n[C] 3\n"
                                  "\"x\"=\"c\"\n");
    EXPECT_EQ(value_of(registry, u"A", u"x"), utf16(u"a\0"s));
    EXPECT_EQ(value_of(registry, u"C", u"x"), utf16(u"c\0"s));
    EXPECT_FALSE(registry.has_key(u"BROKEN"));
}

TEST(wine_registry, takes_a_hex_continuation_line_for_data_even_when_it_looks_like_a_key) {
    const Cwine_registry registry(header + "[A] 1\n\"x\"=hex:61,\\\n[62]\n\"y\"=\"after\"\n");
    EXPECT_FALSE(registry.has_key(u"62"));
    EXPECT_EQ(value_of(registry, u"A", u"y"), utf16(u"after\0"s));
}

TEST(wine_registry, reads_crlf_line_ends_and_escaped_key_names) {
    const Cwine_registry registry(header + "[A\\\\B\\x43\\\\\\]] 1\r\n\"x\"=\"v\"\r\n");
    EXPECT_EQ(value_of(registry, u"A\\BC\\]", u"x"), utf16(u"v\0"s));
}

TEST(wine_registry, holds_no_keys_without_its_header) {
    const Cwine_registry registry("REGEDIT4\n[A] 1\n\"x\"=\"v\"\n");
    EXPECT_FALSE(registry.has_key(u"A"));
    EXPECT_FALSE(registry.is_win64());
}

TEST(wine_registry, gives_a_link_target_only_for_keys_marked_as_links) {
    const std::string target =
        "hex(6):5c,00,52,00,45,00,47,00,49,00,53,00,54,00,52,00,59,00,5c,00,4d,00,41,00,43,00,"
        "48,00,49,00,4e,00,45,00,5c,00,58,00";
    const Cwine_registry registry(header + "[L] 1\n#link\n\"SymbolicLinkValue\"=" + target +
                                  "\n[N] 1\n\"SymbolicLinkValue\"=" + target + "\n");
    EXPECT_EQ(registry.link_target(u"L"), u"\\REGISTRY\\MACHINE\\X");
    EXPECT_EQ(registry.link_target(u"N"), u"");
    EXPECT_EQ(registry.link_target(u"MISSING"), u"");
}

struct layout_case {
    const char* name;
    std::string body;  // after the header
    // Keys that must exist, keys that must not, and "key|value=text" reads.
    std::vector<std::u16string> present, absent;
    std::vector<std::pair<std::u16string, std::u16string>> reads;
};

class wine_registry_layout : public testing::TestWithParam<layout_case> {};

// Key lines are told from data by the runs of hex data around them, and keys are indexed by
// their decoded paths: spellings, orders and runs of hex data must not fool that.
TEST_P(wine_registry_layout, finds_every_key_the_file_names_and_no_other) {
    const layout_case& c = GetParam();
    const Cwine_registry registry(header + c.body);
    for (const std::u16string& key : c.present) {
        EXPECT_TRUE(registry.has_key(folded(key))) << c.name;
    }
    for (const std::u16string& key : c.absent) {
        EXPECT_FALSE(registry.has_key(folded(key))) << c.name;
    }
    for (const auto& [key, text] : c.reads) {
        const std::size_t bar = key.find(u'|');
        EXPECT_EQ(value_of(registry, key.substr(0, bar), key.substr(bar + 1)),
                  text == u"<none>" ? "<none>" : utf16(text + u'\0'))
            << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    spellings_orders_and_hex_runs, wine_registry_layout,
    testing::Values(
        layout_case{"a parent written after its child",
                    "[A\\\\B] 1\n\"x\"=\"b\"\n[A] 1\n\"x\"=\"a\"\n",
                    {u"A", u"A\\B"},
                    {u"B"},
                    {{u"A|x", u"a"}, {u"A\\B|x", u"b"}}},
        layout_case{"one key spelt plainly, escaped and in another case",
                    "[Ab\\\\Cd] 1\n\"x\"=\"1\"\n[\\x41\\x62\\\\cd] 1\n\"y\"=\"2\"\n"
                    "[aB\\\\CD] 1\n\"x\"=\"3\"\n",
                    {u"AB", u"AB\\CD"},
                    {u"AB\\C"},
                    {{u"Ab\\Cd|x", u"3"}, {u"Ab\\Cd|y", u"2"}}},
        layout_case{"names that share bytes but not components",
                    "[Software\\\\Wine] 1\n[Software\\\\Winex\\\\A] 1\n[Software\\\\Wine\\\\B] 1\n"
                    "[Softwarez] 1\n",
                    {u"SOFTWARE\\WINE", u"SOFTWARE\\WINEX\\A", u"SOFTWARE\\WINE\\B", u"SOFTWAREZ"},
                    {u"SOFTWARE\\WIN", u"SOFTWARE\\WINE\\A", u"SOFTWARE\\WINEX\\B",
                     u"SOFTWARE\\WINEX\\A\\B"},
                    {}},
        layout_case{"a subtree, a sibling and back to the first",
                    "[A\\\\B] 1\n[A\\\\B\\\\C] 1\n\"v\"=\"c\"\n[A\\\\D] 1\n[A\\\\B\\\\E] 1\n",
                    {u"A", u"A\\B", u"A\\B\\C", u"A\\D", u"A\\B\\E"},
                    {u"B", u"A\\C", u"A\\B\\D"},
                    {{u"A\\B\\C|v", u"c"}}},
        layout_case{
            "empty components and names beyond ASCII",
            "[\\\\A\\\\\\\\B\\\\] 1\n\"v\"=\"ab\"\n[J\xC3\xB6rg\\\\\\x65e5] 1\n\"v\"=\"j\"\n",
            {u"A\\B", u"J\u00D6RG\\\u65E5"},
            {u"\\A", u"A\\\\B", u"A\\B\\", u"J\u00D6RG\\X"},
            {{u"A\\B|v", u"ab"}, {u"J\u00F6rg\\\u65E5|v", u"j"}}},
        layout_case{"a key line inside a run of hex data is data",
                    "[K] 1\n\"h\"=hex:61,\\\n  62,\\\n[X] 1\n\"after\"=\"k\"\n[Y] 1\n",
                    {u"K", u"Y"},
                    {u"X"},
                    {{u"K|after", u"k"}}},
        layout_case{"a backslash ends only hex data, not other lines",
                    "[K] 1\\\n[X] 1\n@=dword:1\\\n[Y] 1\n\"s\"=\"a\"  \\\n[Z] 1\n",
                    {u"K", u"X", u"Y", u"Z"},
                    {},
                    {}},
        layout_case{"hex data before the first key and after a blank line",
                    "\"h\"=hex:61,\\\n[X] 1\n[K] 1\n\"h\"=hex:61,\\\n\n[Y] 1\n",
                    {u"K", u"Y"},
                    {u"X"},
                    {}},
        layout_case{"a run of hex data continued by a line that looks like a key",
                    "[K] 1\n\"h\"=hex:61,\\\n[62],\\\n  [63]\n[L] 1\n",
                    {u"K", u"L"},
                    {u"62", u"63"},
                    {}}),
    [](const testing::TestParamInfo<layout_case>& info) {
        std::string name = info.param.name;
        for (char& c : name) {
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return name;
    });

// Every cut of a valid file, and random bytes after a valid header, must parse and answer
// lookups without reading outside the bytes (the sanitizer build checks that).
TEST(wine_registry, survives_truncated_and_random_files) {
    const std::string file =
        header +
        "#arch=win64\n[Software\\\\Wow6432Node\\\\A] 1\n#time=1\n@=\"d\\x41\"\n"
        "\"h\"=hex(7):61,00,\\\n  00,00\n\"n\"=dword:1\n\"s\"=str(2):\"\\\"\"\n"
        "[L] 2\n#link\n\"SymbolicLinkValue\"=hex(6):5c,00\n";
    const auto probe = [](const std::string& bytes) {
        const Cwine_registry registry(bytes);
        for (const char16_t* key : {u"SOFTWARE\\WOW6432NODE\\A", u"L", u""}) {
            registry.has_key(key);
            wine_registry_value value;
            for (const char16_t* name : {u"", u"H", u"N", u"S", u"SYMBOLICLINKVALUE"}) {
                registry.find_value(key, name, value);
            }
            registry.link_target(key);
        }
    };
    for (std::size_t size = 0; size <= file.size(); ++size) {
        probe(file.substr(0, size));
    }
    std::mt19937 random(20240601);
    const std::string alphabet = "[]\\\"@#=:,()\n\r x0123456789abcdefhstrw\xC3\xB6\xFF";
    for (int round = 0; round < 300; ++round) {
        std::string bytes = header;
        for (int i = 0; i < 400; ++i) {
            bytes += alphabet[random() % alphabet.size()];
        }
        probe(bytes);
    }
}

// Keys in the order Wine saves them: children without case, '_' before letters, a key before
// its subkeys and so before a sibling whose name goes on with a lower byte ('-').
const char* const wine_ordered_keys[] = {
    "[A] 1\n\"v\"=\"a\"\n",
    "[A\\\\B] 1\n\"v\"=\"ab\"\n",
    "[A\\\\b\\\\C] 1\n\"v\"=\"abc\"\n\"h\"=hex:61,\\\n[62]\n",
    "[A\\\\B\\\\D] 1\n",
    "[A\\\\B2] 1\n",
    "[A-x] 1\n\"v\"=\"a-x\"\n",
    "[Sw\\\\_iso] 1\n\"v\"=\"iso\"\n",
    "[Sw\\\\ANSI\\\\Deep\\\\Er] 1\n\"v\"=\"deep\"\n",
    "[Sw\\\\GB_2312] 1\n",
    "[Sw\\\\gbk] 1\n\"v\"=\"gbk\"\n",
    "[Sw\\\\Wine] 1\n",
};

std::string joined(const std::vector<const char*>& keys) {
    std::string body = header;
    for (const char* key : keys) {
        body += key;
    }
    return body;
}

// The order keys are written in, and names written otherwise than plainly, change no answer.
TEST(wine_registry, answers_alike_whatever_order_or_spelling_the_keys_come_in) {
    const std::vector<const char*> ordered(std::begin(wine_ordered_keys),
                                           std::end(wine_ordered_keys));
    std::vector<const char*> shuffled = ordered;
    std::swap(shuffled[2], shuffled[8]);
    const Cwine_registry in_order(joined(ordered)), shuffled_order(joined(shuffled));
    const std::pair<std::u16string, std::u16string> present[] = {{u"", u"<none>"},
                                                                 {u"A", u"a"},
                                                                 {u"a\\B", u"ab"},
                                                                 {u"A\\B\\C", u"abc"},
                                                                 {u"A\\B\\D", u"<none>"},
                                                                 {u"A\\B2", u"<none>"},
                                                                 {u"A-X", u"a-x"},
                                                                 {u"SW", u"<none>"},
                                                                 {u"SW\\_ISO", u"iso"},
                                                                 {u"Sw\\ansi", u"<none>"},
                                                                 {u"SW\\ANSI\\DEEP\\ER", u"deep"},
                                                                 {u"SW\\GBK", u"gbk"},
                                                                 {u"SW\\WINE", u"<none>"}};
    const std::u16string absent[] = {u"B",         u"A\\C", u"A\\B\\C\\D",    u"A-",
                                     u"A\\B\\",    u"\\A",  u"A\\\\B",        u"SW\\WIN",
                                     u"SW\\WINEX", u"62",   u"SW\\ANSI\\DEE", u"SW\\GB",
                                     u"Z",         u"A]",   u"J\u00D6RG"};
    for (const Cwine_registry* registry : {&in_order, &shuffled_order}) {
        for (const auto& [path, text] : present) {
            EXPECT_TRUE(registry->has_key(folded(path)));
            EXPECT_EQ(value_of(*registry, path, u"v"),
                      text == u"<none>" ? "<none>" : utf16(text + u'\0'));
        }
        for (const std::u16string& path : absent) {
            EXPECT_FALSE(registry->has_key(path));
        }
    }
    // A name Wine writes otherwise than plainly, a key written twice, or one out of order.
    for (const char* odd :
         {"[Sw\\\\J\xC3\xB6rg] 1\n", "[Sw\\\\\\x41] 1\n", "[Sw\\\\gbk] 2\n", "[Sw\\\\GB] 1\n"}) {
        std::vector<const char*> keys = ordered;
        keys.insert(keys.end() - 1, odd);
        const Cwine_registry registry(joined(keys));
        EXPECT_EQ(value_of(registry, u"SW\\GBK", u"v"), utf16(u"gbk\0"s)) << odd;
    }
}

// Thousands of keys in no order, some written twice and some only implied: every one is found
// with its last value, and names that are not keys are not, however the index's probes run.
TEST(wine_registry, finds_every_key_of_a_large_file_written_in_any_order) {
    std::vector<std::pair<std::string, int>> written;  // "A3\\B17", the value it holds
    for (int a = 0; a < 40; ++a) {
        for (int b = 0; b < 60; ++b) {
            written.push_back({"A" + std::to_string(a) + "\\\\B" + std::to_string(b), a * 100 + b});
        }
    }
    std::mt19937 random(7);
    std::shuffle(written.begin(), written.end(), random);
    const std::size_t first_writes = written.size();
    for (std::size_t i = 0; i < first_writes; i += 7) {
        written.push_back({written[i].first, -written[i].second});  // written again, later
    }
    std::string file = header;
    for (const auto& [path, value] : written) {
        file += "[" + path + "\\\\C] 1\n\"v\"=\"" + std::to_string(value) + "\"\n";
    }
    const Cwine_registry registry(file);
    std::map<std::string, int> last;
    for (const auto& [path, value] : written) {
        last[path] = value;
    }
    for (const auto& [path, value] : last) {
        const std::string a = path.substr(0, path.find('\\'));
        const std::u16string key(path.begin(), path.end());
        const std::u16string folded_key = folded_path(key);
        ASSERT_TRUE(registry.has_key(std::u16string(a.begin(), a.end()))) << a;
        ASSERT_TRUE(registry.has_key(folded_key)) << path;
        const std::string text = std::to_string(value);
        EXPECT_EQ(value_of(registry, folded_key + u"\\C", u"v"),
                  utf16(std::u16string(text.begin(), text.end()) + u'\0'))
            << path;
        EXPECT_FALSE(registry.has_key(folded_key + u"\\D")) << path;
    }
    EXPECT_FALSE(registry.has_key(u"A40"));
    EXPECT_FALSE(registry.has_key(u"B1"));
}

TEST(decode_escaped, reports_where_the_text_ends_or_that_it_never_does) {
    std::u16string out;
    EXPECT_EQ(decode_escaped("ab\"rest", '"', out), 3u);
    EXPECT_EQ(out, u"ab");
    out.clear();
    EXPECT_EQ(decode_escaped("a\\\"b", '"', out), std::string_view::npos);
    EXPECT_EQ(decode_escaped("\\", '"', out), std::string_view::npos);
}

TEST(fold_case, folds_beyond_ascii_as_names_compare_on_windows) {
    EXPECT_EQ(folded(u"Nox j\u00F6rg \u0434"), u"NOX J\u00D6RG \u0414");
}

TEST(ansi_code_page, converts_what_the_code_page_holds_and_marks_the_rest) {
    const Cansi_code_page cp1252(1252);
    EXPECT_EQ(cp1252.from_utf16(utf16(u"J\u00F6rg\u20AC\u65E5\0"s)), "J\xF6rg\x80?\0"s);
    EXPECT_EQ(cp1252.from_utf16(utf16(u"a") + "\x00\xD8"s + utf16(u"b") + "c"), "a?b");
    EXPECT_EQ(cp1252.from_utf16(utf16(u"a") + "\x00\xDC"s + "\x00\xD8"s), "a??")
        << "lone surrogates";
    EXPECT_EQ(cp1252.to_utf16("J\xF6rg"), u"J\u00F6rg");
    const Cansi_code_page cp1251(1251);
    EXPECT_EQ(cp1251.from_utf16(utf16(u"\u0434\u00F6")), "\xE4?");
    const Cansi_code_page unknown(4242);  // reads as 1252
    EXPECT_EQ(unknown.from_utf16(utf16(u"\u00F6")), "\xF6");
}

}  // namespace
