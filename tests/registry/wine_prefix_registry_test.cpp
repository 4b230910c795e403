#include "registry/registry_key.h"
#include "registry/wine_prefix_registry.h"

#include "fixtures/scratch_wine_prefix.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>

using namespace std::string_literals;

namespace {

// The value as Cregistry_key reads it, "open <status>" or "query <status>" on failure.
std::string read(registry_root root, const std::string& key, const std::string& name) {
    Cregistry_key handle;
    if (const registry_status status = handle.open(root, key, key_read)) {
        return "open " + std::to_string(status);
    }
    std::string value = "untouched";
    if (const registry_status status = handle.query_value(name, value)) {
        return "query " + std::to_string(status) + " " + value;
    }
    return value;
}

const std::string link_to_machine_classes_wow =
    "#link\n\"SymbolicLinkValue\"=hex(6):5c,00,52,00,45,00,47,00,49,00,53,00,54,00,52,00,59,00,"
    "5c,00,4d,00,41,00,43,00,48,00,49,00,4e,00,45,00,5c,00,53,00,6f,00,66,00,74,00,77,00,61,00,"
    "72,00,65,00,5c,00,43,00,6c,00,61,00,73,00,73,00,65,00,73,00,5c,00,57,00,6f,00,77,00,36,00,"
    "34,00,33,00,32,00,4e,00,6f,00,64,00,65,00\n";

// A 64-bit prefix laid out as Wine lays it out, with values that tell the views apart.
const std::string machine_file =
    "[Software] 1\n\"Probe\"=\"64\"\n\n"
    "[Software\\\\Classes] 1\n\"Probe\"=\"c64\"\n\n"
    "[Software\\\\Classes\\\\Wchat\\\\Nick2\\\\Nick] 1\n@=\"only64\"\n\n"
    "[Software\\\\Classes\\\\Wow6432Node] 1\n\"Probe\"=\"c32\"\n\n"
    "[Software\\\\Classes\\\\Wow6432Node\\\\Wchat\\\\Nick1\\\\Nick] 1\n@=\"machine1\"\n"
    "\"Extra\"=\"machine\"\n\n"
    "[Software\\\\Westwood\\\\Only64] 1\n\"V\"=\"64\"\n\n"
    "[Software\\\\Wow6432Node] 1\n\"Probe\"=\"32\"\n\n"
    "[Software\\\\Wow6432Node\\\\Classes] 1\n" +
    link_to_machine_classes_wow +
    "\n"
    "[Software\\\\Wow6432Node\\\\Westwood\\\\Nox] 1\n\"V\"=\"32\"\n\n"
    "[Software\\\\Wow6432Node\\\\Westwood\\\\Sub\\\\Deep] 1\n\"V\"=\"flat\"\n\n"
    "[Software\\\\Wow6432Node\\\\Westwood\\\\Sub\\\\Wow6432Node\\\\Deep] 1\n\"V\"=\"twice\"\n\n"
    "[Software\\\\Wow6432Node\\\\Loop] 1\n#link\n\"SymbolicLinkValue\"=hex(6):5c,00,52,00,45,00,"
    "47,00,49,00,53,00,54,00,52,00,59,00,5c,00,4d,00,41,00,43,00,48,00,49,00,4e,00,45,00,5c,00,"
    "53,00,6f,00,66,00,74,00,77,00,61,00,72,00,65,00,5c,00,57,00,6f,00,77,00,36,00,34,00,33,00,"
    "32,00,4e,00,6f,00,64,00,65,00,5c,00,4c,00,6f,00,6f,00,70,00\n\n"
    "[System\\\\Test\\\\Sub] 1\n\"V\"=\"64\"\n\n"
    "[System\\\\Test\\\\Wow6432Node\\\\Sub] 1\n\"V\"=\"32\"\n\n";

const std::string user_file =
    "[Software\\\\Classes\\\\Wchat\\\\Nick3\\\\Nick] 1\n@=\"user64\"\n\n"
    "[Software\\\\Classes\\\\Wow6432Node\\\\Wchat\\\\Nick1\\\\Nick] 1\n@=\"user1\"\n\n"
    "[Software\\\\Classes\\\\Wow6432Node\\\\Wchat\\\\Nick4\\\\Nick] 1\n@=\"user4\"\n\n";

struct view_case {
    registry_root root;
    const char* key;
    const char* name;
    const char* expected;
};

class registry_32_bit_view : public testing::TestWithParam<view_case> {};

TEST_P(registry_32_bit_view, sees_what_a_64_bit_program_sees_under_wine) {
    const Cscratch_wine_prefix prefix;
    prefix.write("system.reg", machine_file);
    prefix.write("user.reg", user_file);
    const view_case& c = GetParam();
    EXPECT_EQ(read(c.root, c.key, c.name), c.expected);
}

constexpr auto lm = registry_root::local_machine;
constexpr auto cr = registry_root::classes_root;

INSTANTIATE_TEST_SUITE_P(
    wine_rules, registry_32_bit_view,
    testing::Values(view_case{lm, "Software\\Westwood\\Nox", "V", "32"},
                    view_case{lm, "Software\\Westwood\\Only64", "V", "open 2"},
                    view_case{lm, "Software", "Probe", "32"},
                    view_case{lm, "software\\wow6432node\\westwood\\NOX", "v", "32"},
                    view_case{lm, "Software\\Westwood\\Sub\\Deep", "V", "flat"},
                    view_case{lm, "System\\Test\\Sub", "V", "32"},
                    view_case{lm, "Software\\Classes", "Probe", "c32"},
                    view_case{lm, "Software\\Classes\\Wchat\\Nick1\\Nick", "", "machine1"},
                    view_case{lm, "Software\\Classes\\Wchat\\Nick2\\Nick", "", "open 2"},
                    view_case{lm, "Software\\Loop", "", "open 2"},
                    view_case{lm, "Software\\\\Westwood\\Nox\\", "V", "32"},
                    view_case{lm, "\\Software\\Westwood\\Nox", "V", "open 161"},
                    view_case{lm, "", "V", "query 2 untouched"},
                    view_case{cr, "Wchat\\Nick2\\Nick", "", "open 2"},
                    view_case{cr, "Wow6432Node\\Wchat\\Nick1\\Nick", "", "open 2"},
                    view_case{cr, "", "Probe", "c64"},
                    // The user's classes stand over the machine's, value by value.
                    view_case{cr, "Wchat\\Nick1\\Nick", "", "user1"},
                    view_case{cr, "Wchat\\Nick1\\Nick", "Extra", "machine"},
                    view_case{cr, "Wchat\\Nick4\\Nick", "", "user4"},
                    view_case{cr, "Wchat\\Nick3\\Nick", "", "open 2"}));

TEST(registry_32_bit_view, is_the_only_view_of_a_32_bit_prefix) {
    const Cscratch_wine_prefix prefix;
    prefix.write("system.reg", "[Software\\\\Westwood\\\\Nox] 1\n\"V\"=\"plain\"\n", false);
    EXPECT_EQ(read(lm, "Software\\Westwood\\Nox", "V"), "plain");
    prefix.write("user.reg", "[Software\\\\Classes\\\\Wchat\\\\Nick1\\\\Nick] 1\n@=\"n\"\n", false);
    EXPECT_EQ(read(cr, "Wchat\\Nick1\\Nick", ""), "n");
}

TEST(wine_prefix_registry, reports_a_missing_prefix_or_file_as_not_found) {
    const Cscratch_wine_prefix prefix;
    EXPECT_EQ(read(lm, "Software", ""), "open 2");
    EXPECT_EQ(read(cr, "Wchat", ""), "open 2");
    setenv("WINEPREFIX", (prefix.directory() + "/none").c_str(), 1);
    EXPECT_EQ(read(lm, "", ""), "open 2");
}

TEST(wine_prefix_registry, reads_a_file_up_to_the_limit_and_none_larger) {
    struct size_case {
        const char* what;
        unsigned long long size;
        const char* expected;
    };
    const size_case cases[] = {
        {"at the limit", wine_registry_file_limit, "v"},
        {"a byte over it", wine_registry_file_limit + 1, "open 2"},
        {"100 GiB", 100ULL << 30, "open 2"},
    };
    for (const size_case& c : cases) {
        SCOPED_TRACE(c.what);
        const Cscratch_wine_prefix prefix;
        prefix.write("system.reg", "[A] 1\n\"V\"=\"v\"\n", false);
        // Sparse: the rest of the file is a hole of zeros, which Wine reads as no more lines.
        ASSERT_EQ(
            truncate((prefix.directory() + "/system.reg").c_str(), static_cast<off_t>(c.size)), 0);
        EXPECT_EQ(read(lm, "A", "V"), c.expected);
    }
}

TEST(wine_prefix_registry, falls_back_to_the_home_prefix) {
    const Cscratch_wine_prefix home;
    std::filesystem::create_directory(home.directory() + "/.wine");
    std::ofstream(home.directory() + "/.wine/system.reg")
        << "WINE REGISTRY Version 2\n[Westwood] 1\n\"V\"=\"home\"\n";
    const std::string old_home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    setenv("HOME", home.directory().c_str(), 1);
    unsetenv("WINEPREFIX");
    const std::string value = read(lm, "Westwood", "V");
    setenv("HOME", old_home.c_str(), 1);
    EXPECT_EQ(value, "home");
}

TEST(wine_prefix_registry, converts_strings_to_the_prefixes_ansi_code_page) {
    const Cscratch_wine_prefix prefix;
    const std::string keys =
        "[Software\\\\Wow6432Node\\\\Westwood\\\\Nox] 1\n\"V\"=\"\\x434\\xf6\"\n"
        "\"B\"=hex:d0,b4,00\n[\\x414] 1\n\"\\x434\"=\"cyrillic name\"\n";
    prefix.write("system.reg", keys);
    EXPECT_EQ(read(lm, "Software\\Westwood\\Nox", "V"), "?\xF6") << "1252 where none is named";
    EXPECT_EQ(read(lm, "Software\\Westwood\\Nox", "B"), "\xD0\xB4") << "bytes stay bytes";
    prefix.write("system.reg", keys +
                                   "[System\\\\CurrentControlSet\\\\Control\\\\Nls\\\\CodePage] 1\n"
                                   "\"ACP\"=\"1251\"\n");
    EXPECT_EQ(read(lm, "Software\\Westwood\\Nox", "V"), "\xE4?");
    EXPECT_EQ(read(lm, "\xC4", "\xE4"), "cyrillic name");
}

TEST(wine_prefix_registry, parses_a_file_again_only_when_it_changes) {
    const Cscratch_wine_prefix prefix;
    prefix.write("system.reg", "[A] 1\n\"V\"=\"one\"\n", false);
    const std::string path = prefix.directory() + "/system.reg";
    struct stat before {};
    ASSERT_EQ(stat(path.c_str(), &before), 0);
    wine_open_key first, second;
    Cwine_prefix_registry& registry = Cwine_prefix_registry::instance();
    ASSERT_EQ(registry.open(lm, "A", first), 0);
    ASSERT_EQ(registry.open(lm, "A", second), 0);
    EXPECT_EQ(first.places.at(0).file, second.places.at(0).file) << "parsed once";

    prefix.write("system.reg", "[A] 1\n\"V\"=\"two\"\n", false);  // same size, new content
    struct timespec times[2] = {before.st_atim, before.st_mtim};
    times[1].tv_nsec = (times[1].tv_nsec + 1000) % 1000000000;
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    EXPECT_EQ(read(lm, "A", "V"), "two");
    std::string data;
    EXPECT_EQ(Cwine_prefix_registry::query(first, "V", data), 0) << "an open key keeps its file";
    EXPECT_EQ(data, "one\0"s);
}

TEST(registry_key, keeps_the_text_when_a_read_fails_and_holds_no_key_after_a_failed_open) {
    const Cscratch_wine_prefix prefix;
    prefix.write("system.reg", "[A] 1\n\"V\"=\"v\"\n", false);
    Cregistry_key key;
    std::string value = "before";
    EXPECT_EQ(key.query_value("V", value), 6) << "no key held";
    ASSERT_EQ(key.open(lm, "A", key_read), 0);
    EXPECT_EQ(key.query_value("Missing", value), 2);
    EXPECT_EQ(value, "before");
    EXPECT_EQ(key.open(lm, "B", key_read), 2);
    EXPECT_EQ(key.query_value("V", value), 6) << "the old key went with the failed open";
    EXPECT_EQ(value, "before");
    ASSERT_EQ(key.open(lm, "A", key_read), 0);
    EXPECT_EQ(key.close(), 0);
    EXPECT_EQ(key.close(), 0);
    EXPECT_EQ(key.query_value("V", value), 6);
}

}  // namespace
