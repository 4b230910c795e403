#include "app/wolapi_install_path.h"

#include "fixtures/scratch_wine_prefix.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace {

const std::string key = "[Software\\\\Wow6432Node\\\\Westwood\\\\WOLAPI] 1\n";

// Hex bytes of `text` as UTF-16LE, the way Wine writes a string value without its NUL.
std::string utf16_hex(const std::string& text) {
    std::string hex;
    for (const char c : text) {
        static const char digits[] = "0123456789abcdef";
        const auto byte = static_cast<unsigned char>(c);
        hex += std::string(hex.empty() ? "" : ",") + digits[byte >> 4] + digits[byte & 15] + ",00";
    }
    return hex;
}

struct install_path_case {
    std::string name;
    std::string system_reg;
    std::string expected;
};

class wolapi_install_path_reads : public testing::TestWithParam<install_path_case> {};

TEST_P(wolapi_install_path_reads, the_value_up_to_its_first_nul_within_260_bytes) {
    const Cscratch_wine_prefix prefix;
    prefix.write("system.reg", GetParam().system_reg);
    EXPECT_EQ(wolapi_install_path(), GetParam().expected);
}

const std::string a259(259, 'a');

INSTANTIATE_TEST_SUITE_P(
    cases, wolapi_install_path_reads,
    testing::Values(
        install_path_case{"present", key + "\"InstallPath\"=\"C:\\\\Westwood\\\\WOLAPI\\\\\"\n",
                          "C:\\Westwood\\WOLAPI\\"},
        install_path_case{"name_without_case", key + "\"installpath\"=\"C:\\\\w\"\n", "C:\\w"},
        install_path_case{"missing_key", "[Software\\\\Wow6432Node\\\\Westwood] 1\n", ""},
        install_path_case{"only_in_the_64_bit_view",
                          "[Software\\\\Westwood\\\\WOLAPI] 1\n\"InstallPath\"=\"C:\\\\x\"\n"
                          "[Software\\\\Wow6432Node\\\\Other] 1\n",
                          ""},
        install_path_case{"missing_value", key + "\"Other\"=\"C:\\\\x\"\n", ""},
        install_path_case{"embedded_nul", key + "\"InstallPath\"=\"C:\\\\a\\0b\"\n", "C:\\a"},
        install_path_case{"exactly_260_bytes", key + "\"InstallPath\"=\"" + a259 + "\"\n", a259},
        install_path_case{"260_bytes_without_nul",
                          key + "\"InstallPath\"=hex(1):" + utf16_hex(a259 + "b") + "\n",
                          a259 + "b"},
        install_path_case{"261_bytes", key + "\"InstallPath\"=\"" + a259 + "b\"\n", ""},
        install_path_case{"binary_data", key + "\"InstallPath\"=hex:43,3a,00,ff\n", "C:"},
        install_path_case{"dword", key + "\"InstallPath\"=dword:00003a43\n", "C:"}),
    [](const testing::TestParamInfo<install_path_case>& info) { return info.param.name; });

}  // namespace
