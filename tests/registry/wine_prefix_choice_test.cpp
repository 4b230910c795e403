// The Linux program's own doors to the registry: choosing the prefix, asking another prefix for a
// key, and decoding text in the chosen prefix's code page.
#include "registry/registry_key.h"
#include "registry/wine_prefix_choice.h"

#include "fixtures/scratch_wine_prefix.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr char nox_32[] = "[Software\\\\Wow6432Node\\\\Westwood\\\\Nox] 1\n\"V\"=\"32\"\n\n";
constexpr char only_64[] = "[Software\\\\Westwood\\\\Only64] 1\n\"V\"=\"64\"\n\n";

registry_status open_status(const std::string& subkey) {
    Cregistry_key key;
    return key.open(registry_root::local_machine, subkey, key_read);
}

TEST(wine_prefix_keys_held, reads_the_other_prefix_through_the_32_bit_view) {
    const Cscratch_wine_prefix chosen;
    const Cscratch_wine_prefix other;
    chosen.write("system.reg", nox_32);
    other.write("system.reg",
                std::string("[Software\\\\Wow6432Node\\\\Westwood\\\\Emperor] 1\n\n") + only_64);
    use_wine_prefix(chosen.directory());
    const struct {
        const char* subkey;
        bool held;
    } cases[] = {{"Software\\Westwood\\Emperor", true}, {"software\\westwood\\EMPEROR", true},
                 {"Software\\Westwood", true},          {"Software\\Westwood\\Only64", false},
                 {"Software\\Westwood\\Nox", false},    {"\\Software\\Westwood\\Emperor", false}};
    std::vector<std::string> subkeys;
    std::vector<bool> held;
    for (const auto& c : cases) {
        subkeys.push_back(c.subkey);
        held.push_back(c.held);
    }
    EXPECT_EQ(wine_prefix_keys_held(other.directory(), subkeys), held);
    EXPECT_EQ(wine_prefix_keys_held(other.directory() + "/missing", {"Software", ""}),
              (std::vector<bool>{false, false}));
    EXPECT_EQ(wine_prefix_keys_held(other.directory(), {}), std::vector<bool>{});
    EXPECT_EQ(open_status("Software\\Westwood\\Nox"), 0) << "the chosen prefix stays chosen";
    use_wine_prefix({});
}

// A link's value as Wine writes it, to `target` (ASCII).
std::string link_to(const std::string& target) {
    std::string line = "#link\n\"SymbolicLinkValue\"=hex(6):";
    for (std::size_t i = 0; i < target.size(); ++i) {
        char unit[8];
        std::snprintf(unit, sizeof unit, "%s%02x,00", i > 0 ? "," : "",
                      static_cast<unsigned char>(target[i]));
        line += unit;
    }
    return line + "\n";
}

TEST(wine_prefix_keys_held, finds_a_key_whose_names_only_the_users_file_writes_through_a_link) {
    const Cscratch_wine_prefix prefix;
    prefix.write(
        "system.reg",
        "[Software\\\\Games] 1\n" + link_to("\\Registry\\User\\S-1-5-21-0\\Software\\Vendor"),
        false);
    prefix.write("user.reg", "[Software\\\\Vendor\\\\Westwood\\\\Nox] 1\n\"V\"=\"1\"\n");
    EXPECT_EQ(wine_prefix_keys_held(prefix.directory(), {"Software\\Games\\Westwood\\Nox",
                                                         "Software\\Games\\Westwood\\Emperor"}),
              (std::vector<bool>{true, false}));
}

TEST(use_wine_prefix, switches_what_registry_keys_read_and_empty_means_the_environments_prefix) {
    const Cscratch_wine_prefix first;  // WINEPREFIX points at the last one made
    const Cscratch_wine_prefix second;
    first.write("system.reg", nox_32);
    use_wine_prefix(first.directory());
    EXPECT_EQ(open_status("Software\\Westwood\\Nox"), 0);
    use_wine_prefix({});
    EXPECT_EQ(open_status("Software\\Westwood\\Nox"), 2);
    second.write("system.reg", nox_32);
    EXPECT_EQ(open_status("Software\\Westwood\\Nox"), 0);
}

TEST(text_from_prefix_code_page, decodes_with_the_chosen_prefixes_ansi_code_page) {
    const Cscratch_wine_prefix prefix;
    use_wine_prefix({});
    EXPECT_EQ(text_from_prefix_code_page("\xE4"), u"\u00E4") << "1252 where none is named";
    prefix.write("system.reg",
                 "[System\\\\CurrentControlSet\\\\Control\\\\Nls\\\\CodePage] 1\n"
                 "\"ACP\"=\"1251\"\n");
    EXPECT_EQ(text_from_prefix_code_page("\xE4"), u"\u0434") << "read again when it changes";
}

}  // namespace
