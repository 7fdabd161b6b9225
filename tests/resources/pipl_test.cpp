// The PiPL resource byte for byte: header, and every property's offset, key, length and data.
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "resources/pipl.h"

namespace {

using Bytes = std::vector<uint8_t>;

uint32_t ReadLong(const Bytes& bytes, size_t at) {
    return static_cast<uint32_t>(bytes[at]) | (static_cast<uint32_t>(bytes[at + 1]) << 8) |
           (static_cast<uint32_t>(bytes[at + 2]) << 16) |
           (static_cast<uint32_t>(bytes[at + 3]) << 24);
}

// A four-character code as the resource stores it: a little-endian integer, so its characters
// appear reversed.
Bytes Reversed(const std::string& code) {
    return Bytes(code.rbegin(), code.rend());
}

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

struct Expected {
    size_t dataAt;
    std::string key;
    uint32_t length;
    Bytes data;
};

const Expected kTable[] = {
    {26, "kind", 4, Reversed("eFKT")},
    {46, "name", 8, Join({{7}, Text("Quorvel")})},
    {70, "catg", 12, Join({{8}, Text("Velmoran"), {0, 0, 0}})},
    {98, "8664", 12, Join({Text("EffectMain"), {0, 0}})},
    {126, "ePVR", 4, {2, 0, 0, 0}},
    {146, "eSVR", 4, {13, 0, 28, 0}},
    {166, "eVER", 4, {0x00, 0x06, 0x08, 0x00}},
    {186, "eINF", 2, {0, 0}},
    {206, "eGLO", 4, {0x54, 0x84, 0x00, 0x06}},
    {226, "eGL2", 4, {0x01, 0x14, 0x80, 0x08}},
    {246, "eMNA", 20, Join({{16}, Text("Velmoran Quorvel"), {0, 0, 0}})},
    {282, "aeFL", 4, {8, 0, 0, 0}},
};

TEST(PiplTest, MatchesTheTableByteForByte) {
    const Bytes pipl = BuildPipl();
    ASSERT_EQ(pipl.size(), 286u);
    EXPECT_EQ(Bytes(pipl.begin(), pipl.begin() + 10), (Bytes{1, 0, 0, 0, 0, 0, 12, 0, 0, 0}));
    size_t covered = 10;
    for (const Expected& property : kTable) {
        SCOPED_TRACE(property.key);
        const size_t header = property.dataAt - 16;
        ASSERT_EQ(header, covered) << "properties follow each other without gaps";
        EXPECT_EQ(Bytes(pipl.begin() + header, pipl.begin() + header + 4), Reversed("8BIM"));
        EXPECT_EQ(Bytes(pipl.begin() + header + 4, pipl.begin() + header + 8),
                  Reversed(property.key));
        EXPECT_EQ(ReadLong(pipl, header + 8), 0u);
        EXPECT_EQ(ReadLong(pipl, header + 12), property.length);
        ASSERT_EQ(property.data.size(), property.length);
        EXPECT_EQ(
            Bytes(pipl.begin() + property.dataAt, pipl.begin() + property.dataAt + property.length),
            property.data);
        covered = property.dataAt + property.length;
        // Zero bytes up to a multiple of four.
        while ((covered - property.dataAt) % 4 != 0) {
            EXPECT_EQ(pipl[covered], 0) << "padding at " << covered;
            ++covered;
        }
    }
    EXPECT_EQ(covered, pipl.size());
}

TEST(PiplTest, TheBuildWritesTheSameBytes) {
    FILE* file = std::fopen(QUORVEL_PIPL_BIN, "rb");
    ASSERT_NE(file, nullptr) << QUORVEL_PIPL_BIN;
    Bytes written;
    int c;
    while ((c = std::fgetc(file)) != EOF) {
        written.push_back(static_cast<uint8_t>(c));
    }
    std::fclose(file);
    EXPECT_EQ(written, BuildPipl());
}

}  // namespace
