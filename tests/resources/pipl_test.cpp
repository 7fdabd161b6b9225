// The PiPL resource byte for byte, as built and as the build wrote it.
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "resources/pipl.h"

namespace {

// All integers little-endian. After the header, one property a line: vendor '8BIM' and key
// (four-character codes stored as integers, so their characters appear reversed), id 0,
// length, then the data and zero bytes up to a multiple of four.
// clang-format off
const char kPipl[] =
    "0100" "00000000" "0c000000"                                     // 1, list version 0, 12 properties
    "4d494238" "646e696b" "00000000" "04000000" "544b4665"             // kind 'eFKT'
    "4d494238" "656d616e" "00000000" "08000000" "07" "51756f7276656c"  // name: 7, "Quorvel"
    "4d494238" "67746163" "00000000" "0c000000" "08" "56656c6d6f72616e" "000000"  // catg: 8, "Velmoran"
    "4d494238" "34363638" "00000000" "0c000000" "4566666563744d61696e" "0000"  // 8664 "EffectMain"
    "4d494238" "52565065" "00000000" "04000000" "0200" "0000"          // ePVR 2.0
    "4d494238" "52565365" "00000000" "04000000" "0d00" "1c00"          // eSVR 13.28
    "4d494238" "52455665" "00000000" "04000000" "00060800"             // eVER 0x80600
    "4d494238" "464e4965" "00000000" "02000000" "0000" "0000"          // eINF 0
    "4d494238" "4f4c4765" "00000000" "04000000" "54840006"             // eGLO 0x6008454
    "4d494238" "324c4765" "00000000" "04000000" "01148008"             // eGL2 0x8801401
    // eMNA: 16, "Velmoran Quorvel"
    "4d494238" "414e4d65" "00000000" "14000000" "10" "56656c6d6f72616e2051756f7276656c" "000000"
    "4d494238" "4c466561" "00000000" "04000000" "08000000";            // aeFL 8
// clang-format on

TEST(PiplTest, MatchesTheTableByteForByteAsBuiltAndAsWritten) {
    std::vector<uint8_t> expected;
    for (size_t i = 0; kPipl[i] != '\0'; i += 2) {
        expected.push_back(static_cast<uint8_t>(std::stoi(std::string(kPipl + i, 2), nullptr, 16)));
    }
    ASSERT_EQ(expected.size(), 286u);
    EXPECT_EQ(BuildPipl(), expected);

    std::ifstream file(QUORVEL_PIPL_BIN, std::ios::binary);
    ASSERT_TRUE(file) << QUORVEL_PIPL_BIN;
    const std::istreambuf_iterator<char> begin(file), end;
    EXPECT_EQ(std::vector<uint8_t>(begin, end), expected);
}

}  // namespace
