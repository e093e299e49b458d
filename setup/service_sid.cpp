#include "setup/service_sid.h"

#include <array>
#include <cstdint>
#include <vector>

namespace setup {

namespace {

constexpr std::uint32_t Rotate(std::uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

// SHA-1 (FIPS 180-4). Only for this name-to-SID rule, which Windows fixed
// on it; it says nothing about whether bytes are what they should be.
std::array<std::uint32_t, 5> Sha1(std::vector<unsigned char> bytes) {
    const std::uint64_t bits = static_cast<std::uint64_t>(bytes.size()) * 8;
    bytes.push_back(0x80);
    while (bytes.size() % 64 != 56) bytes.push_back(0);
    for (int shift = 56; shift >= 0; shift -= 8) bytes.push_back(static_cast<unsigned char>(bits >> shift));

    std::array<std::uint32_t, 5> h = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476, 0xc3d2e1f0};
    for (std::size_t block = 0; block < bytes.size(); block += 64) {
        std::array<std::uint32_t, 80> w{};
        for (int i = 0; i < 16; ++i)
            for (int j = 0; j < 4; ++j) w[i] = w[i] << 8 | bytes[block + 4 * i + j];
        for (int i = 16; i < 80; ++i) w[i] = Rotate(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
        auto [a, b, c, d, e] = h;
        for (int i = 0; i < 80; ++i) {
            const int round = i / 20;
            const std::uint32_t f = round == 0 ? (b & c) | (~b & d)
                                    : round == 2 ? (b & c) | (b & d) | (c & d)
                                                 : b ^ c ^ d;
            constexpr std::uint32_t kRound[] = {0x5a827999, 0x6ed9eba1, 0x8f1bbcdc, 0xca62c1d6};
            const std::uint32_t k = kRound[round];
            const std::uint32_t t = Rotate(a, 5) + f + e + k + w[i];
            e = d;
            d = c;
            c = Rotate(b, 30);
            b = a;
            a = t;
        }
        const std::array<std::uint32_t, 5> add = {a, b, c, d, e};
        for (int i = 0; i < 5; ++i) h[i] += add[i];
    }
    return h;
}

}  // namespace

std::string ServiceSid(std::string_view name) {
    std::vector<unsigned char> utf16;
    for (char c : name) {
        utf16.push_back(static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c));
        utf16.push_back(0);
    }
    const auto digest = Sha1(std::move(utf16));
    std::string sid = "S-1-5-80";
    // Each number is four bytes of the digest read little-endian.
    for (std::uint32_t word : digest) {
        const std::uint32_t little = (word >> 24) | ((word >> 8) & 0xff00) | ((word << 8) & 0xff0000) | (word << 24);
        sid += "-" + std::to_string(little);
    }
    return sid;
}

}  // namespace setup
