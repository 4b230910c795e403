// Reads the keys tests/fixtures/wine_registry_seed wrote, as the login dialog reads them.
#include "registry/registry_key.h"

#include "registry/registry_seeded_values.h"

#include <gtest/gtest.h>

namespace {

TEST(registry_key, reads_the_seeded_values_as_their_bytes_less_the_last_one) {
    for (const seeded_value& expected : seeded_values()) {
        SCOPED_TRACE(std::string(expected.key) + " / " + expected.name);
        Cregistry_key key;
        ASSERT_EQ(key.open(expected.root, expected.key, key_read), expected.open_status);
        if (expected.open_status != 0) {
            continue;
        }
        std::string value = "untouched";
        EXPECT_EQ(key.query_value(expected.name, value), expected.query_status);
        EXPECT_EQ(value, expected.query_status == 0 ? expected.bytes : "untouched");
    }
}

}  // namespace
