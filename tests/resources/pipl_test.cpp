// The PiPL resource byte for byte, as built and as the build wrote it: header, and every
// property's offset, key, length and data.
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "resources/pipl.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Property {
    size_t dataAt;
    std::string key;
    uint32_t length;
    const char* data;  // length bytes
};

const Property kTable[] = {
    {26, "kind", 4, "TKFe"},  // a four-character code is a little-endian integer: reversed
    {46, "name", 8, "\x07Quorvel"},
    {70, "catg", 12, "\x08Velmoran\0\0\0"},
    {98, "8664", 12, "EffectMain\0\0"},
    {126, "ePVR", 4, "\x02\0\0\0"},
    {146, "eSVR", 4, "\x0D\0\x1C\0"},
    {166, "eVER", 4, "\0\x06\x08\0"},
    {186, "eINF", 2, "\0\0"},
    {206, "eGLO", 4, "\x54\x84\0\x06"},
    {226, "eGL2", 4, "\x01\x14\x80\x08"},
    {246, "eMNA", 20, "\x10Velmoran Quorvel\0\0\0"},
    {282, "aeFL", 4, "\x08\0\0\0"},
};

Bytes Reversed(const std::string& code) {
    return Bytes(code.rbegin(), code.rend());
}

Bytes At(const Bytes& bytes, size_t at, size_t length) {
    return at + length <= bytes.size() ? Bytes(bytes.begin() + at, bytes.begin() + at + length)
                                       : Bytes();
}

TEST(PiplTest, MatchesTheTableByteForByteAsBuiltAndAsWritten) {
    const Bytes pipl = BuildPipl();
    ASSERT_EQ(pipl.size(), 286u);
    EXPECT_EQ(At(pipl, 0, 10), (Bytes{1, 0, 0, 0, 0, 0, 12, 0, 0, 0}));
    size_t covered = 10;
    for (const Property& property : kTable) {
        SCOPED_TRACE(property.key);
        const size_t header = property.dataAt - 16;
        ASSERT_EQ(header, covered) << "properties follow each other without gaps";
        EXPECT_EQ(At(pipl, header, 4), Reversed("8BIM"));
        EXPECT_EQ(At(pipl, header + 4, 4), Reversed(property.key));
        EXPECT_EQ(At(pipl, header + 8, 8), (Bytes{0, 0, 0, 0, uint8_t(property.length), 0, 0, 0}));
        const Bytes data(property.data, property.data + property.length);
        EXPECT_EQ(At(pipl, property.dataAt, property.length), data);
        // Zero bytes up to a multiple of four.
        covered = property.dataAt + (property.length + 3) / 4 * 4;
        EXPECT_EQ(At(pipl, property.dataAt + property.length,
                     covered - property.dataAt - property.length),
                  Bytes(covered - property.dataAt - property.length, 0));
    }
    EXPECT_EQ(covered, pipl.size());

    FILE* file = std::fopen(QUORVEL_PIPL_BIN, "rb");
    ASSERT_NE(file, nullptr) << QUORVEL_PIPL_BIN;
    Bytes written;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
        written.push_back(static_cast<uint8_t>(c));
    }
    std::fclose(file);
    EXPECT_EQ(written, pipl);
}

}  // namespace
