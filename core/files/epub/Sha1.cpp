#include "core/files/epub/Sha1.h"

#include <bit>
#include <vector>

namespace velquor::files {

namespace {

std::uint32_t bigEndianWord(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
           static_cast<std::uint32_t>(bytes[2]) << 8 | static_cast<std::uint32_t>(bytes[3]);
}

void compress(std::array<std::uint32_t, 5>& state, const std::uint8_t* block) {
    std::array<std::uint32_t, 80> words{};
    for (std::size_t i = 0; i < 16; ++i) words[i] = bigEndianWord(block + 4 * i);
    for (std::size_t i = 16; i < 80; ++i) {
        words[i] = std::rotl(words[i - 3] ^ words[i - 8] ^ words[i - 14] ^ words[i - 16], 1);
    }
    auto [a, b, c, d, e] = state;
    for (std::size_t i = 0; i < 80; ++i) {
        std::uint32_t mixed = 0;
        std::uint32_t constant = 0;
        if (i < 20) {
            mixed = (b & c) | (~b & d);
            constant = 0x5A827999;
        } else if (i < 40) {
            mixed = b ^ c ^ d;
            constant = 0x6ED9EBA1;
        } else if (i < 60) {
            mixed = (b & c) | (b & d) | (c & d);
            constant = 0x8F1BBCDC;
        } else {
            mixed = b ^ c ^ d;
            constant = 0xCA62C1D6;
        }
        const auto next = std::rotl(a, 5) + mixed + e + constant + words[i];
        e = d;
        d = c;
        c = std::rotl(b, 30);
        b = a;
        a = next;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    state[4] += e;
}

}  // namespace

std::array<std::uint8_t, 20> sha1(std::string_view bytes) {
    std::array<std::uint32_t, 5> state{0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
    std::vector<std::uint8_t> message(bytes.begin(), bytes.end());
    const std::uint64_t bitCount = static_cast<std::uint64_t>(bytes.size()) * 8;
    message.push_back(0x80);
    while (message.size() % 64 != 56) message.push_back(0);
    for (int shift = 56; shift >= 0; shift -= 8) message.push_back(static_cast<std::uint8_t>(bitCount >> shift));
    for (std::size_t offset = 0; offset < message.size(); offset += 64) compress(state, message.data() + offset);
    std::array<std::uint8_t, 20> digest{};
    for (std::size_t i = 0; i < 20; ++i) digest[i] = static_cast<std::uint8_t>(state[i / 4] >> (24 - 8 * (i % 4)));
    return digest;
}

}  // namespace velquor::files
