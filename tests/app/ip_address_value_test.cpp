#include "app/ip_address_value.h"

#include "app/fake_system.h"

#include <gtest/gtest.h>

namespace {

struct address_case {
    unsigned char octets[4];
    std::uint32_t control_value;
};

class ip_address_value : public testing::TestWithParam<address_case> {};

TEST_P(ip_address_value, keeps_the_first_octet_in_the_first_field) {
    const address_case& c = GetParam();
    const std::uint32_t address = address_of(c.octets[0], c.octets[1], c.octets[2], c.octets[3]);
    EXPECT_EQ(control_value_from_address(address), c.control_value);
    EXPECT_EQ(address_from_control_value(c.control_value), address);
}

INSTANTIATE_TEST_SUITE_P(addresses, ip_address_value,
                         testing::Values(address_case{{10, 20, 30, 40}, 0x0A141E28},
                                         address_case{{192, 0, 2, 10}, 0xC000020A},
                                         address_case{{127, 0, 0, 1}, 0x7F000001},
                                         address_case{{0, 0, 0, 0}, 0},
                                         address_case{{255, 255, 255, 255}, 0xFFFFFFFF},
                                         address_case{{1, 0, 0, 255}, 0x010000FF}));

}  // namespace
