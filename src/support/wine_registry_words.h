#pragma once
#include <cstdint>
#include <cstring>

// Word-at-a-time work on the bytes of key names: eight bytes are loaded at once wherever eight
// remain.
namespace name_words {

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "a word's first bytes are its low bytes");

inline constexpr std::uint64_t ones = 0x0101010101010101, high_bits = 0x8080808080808080;

inline std::uint64_t load(const char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    return word;
}

// The high bit of every byte of `word` that equals `c`, and no other bit.
inline std::uint64_t bytes_equal(std::uint64_t word, unsigned char c) {
    const std::uint64_t x = word ^ (ones * c);
    return ~(((x & ~high_bits) + ~high_bits) | x) & high_bits;
}

// The word with its ASCII capitals in lower case; other bytes below 0x80 stay as they are.
inline std::uint64_t lower_ascii(std::uint64_t word) {
    const std::uint64_t seven = word & ~high_bits;
    const std::uint64_t from_a = seven + ones * (0x80 - 'A');
    const std::uint64_t past_z = seven + ones * (0x7F - 'Z');
    const std::uint64_t capitals = from_a & ~past_z & ~word & high_bits;
    return word | capitals >> 2;
}

}  // namespace name_words
