#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "ramp/flat_ramp.h"
#include "ramp/scoped_ramp.h"

namespace {

using Bytes = std::vector<unsigned char>;

// The record in little-endian bytes: mode, interpolation, count, then (t, v) as floats.
Bytes Record(int32_t mode, int32_t interpolation, int32_t count,
             std::initializer_list<std::pair<float, float>> points) {
    std::vector<uint32_t> words = {uint32_t(mode), uint32_t(interpolation), uint32_t(count)};
    for (const auto& [t, v] : points) {
        for (float value : {t, v}) {
            std::memcpy(&words.emplace_back(), &value, 4);
        }
    }
    Bytes bytes;
    for (uint32_t word : words) {
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(static_cast<unsigned char>(word >> (8 * i)));
        }
    }
    return bytes;
}

Bytes Flat(const Ramp& ramp) {
    Bytes bytes(size_t(ramp.Flatten(nullptr)), 0xEE);
    EXPECT_EQ(ramp.Flatten(bytes.data()), int32_t(bytes.size()));
    return bytes;
}

// What NEW leaves in a handle before the record is read into it.
ScopedRamp NewDefault() {
    return ScopedRamp(RampMode_All, RampInterpolation_Sin, {{0.0f, 1.0f}, {1.0f, 1.0f}});
}

TEST(FlatRampTest, WritesLittleEndianHeaderThenPointsInAscendingT) {
    const ScopedRamp fresh = NewDefault();
    EXPECT_EQ(fresh->Flatten(nullptr), 28);
    EXPECT_EQ(Flat(*fresh), Record(0, 0, 2, {{0.0f, 1.0f}, {1.0f, 1.0f}}));

    const ScopedRamp empty(RampMode_WithoutSin, RampInterpolation_Bezier);
    EXPECT_EQ(Flat(*empty), Record(1, 3, 0, {}));

    const ScopedRamp unordered(RampMode_All, RampInterpolation_Line,
                               {{0.9f, 0.1f}, {-0.5f, 2.0f}, {0.25f, 0.5f}});
    EXPECT_EQ(Flat(*unordered), Record(0, 1, 3, {{-0.5f, 2.0f}, {0.25f, 0.5f}, {0.9f, 0.1f}}));
}

TEST(FlatRampTest, EveryBitPatternButANonFiniteKeyComesBackByteForByte) {
    const float inf = std::numeric_limits<float>::infinity();
    const float max = std::numeric_limits<float>::max();
    Bytes bytes =
        Record(-7, 0x7FFFFFFF, 4, {{-max, -0.0f}, {-0.0f, inf}, {0.5f, 0.0f}, {max, 3e38f}});
    // A NaN value with a payload of its own.
    const uint32_t payload = 0x7FC01234u;
    std::memcpy(&bytes[12 + 8 * 2 + 4], &payload, 4);
    ScopedRamp ramp = NewDefault();
    EXPECT_EQ(ReadFlatRamp(bytes.data(), A_u_long(bytes.size()), &*ramp), PF_Err_NONE);
    EXPECT_EQ(ramp->mode, -7);
    EXPECT_EQ(ramp->interpolation, 0x7FFFFFFF);
    EXPECT_EQ(Flat(*ramp), bytes);
}

TEST(FlatRampTest, CountsAndRepeatedOrUnorderedKeys) {
    for (int32_t count : {0, -1, -2147483647 - 1}) {
        ScopedRamp ramp = NewDefault();
        const Bytes bytes = Record(1, 2, count, {{0.5f, 0.5f}});
        EXPECT_EQ(ReadFlatRamp(bytes.data(), A_u_long(bytes.size()), &*ramp), PF_Err_NONE);
        EXPECT_EQ(ramp->mode, 1);
        EXPECT_EQ(ramp->interpolation, 2);
        EXPECT_TRUE(ramp->points->empty()) << count;
    }
    ScopedRamp ramp = NewDefault();
    const Bytes bytes = Record(0, 1, 3, {{0.75f, 0.1f}, {0.25f, 0.2f}, {0.75f, 0.3f}});
    EXPECT_EQ(ReadFlatRamp(bytes.data(), A_u_long(bytes.size()), &*ramp), PF_Err_NONE);
    EXPECT_EQ(*ramp->points, (RampPoints{{0.25f, 0.2f}, {0.75f, 0.3f}}));
}

TEST(FlatRampTest, TruncatedRecordsReportInternalStructDamagedAndNonFiniteKeysAreLeftOut) {
    const Bytes full = Record(1, 3, 2, {{0.25f, 0.5f}, {0.75f, 0.125f}});
    struct Case {
        A_u_long size;
        int32_t mode;
        int32_t interpolation;
        RampPoints points;
    };
    const RampPoints fresh{{0.0f, 1.0f}, {1.0f, 1.0f}};
    const Case cases[] = {
        {0, 0, 0, fresh},
        {3, 0, 0, fresh},
        {4, 1, 0, fresh},
        {7, 1, 0, fresh},
        {8, 1, 3, fresh},
        {11, 1, 3, fresh},
        {12, 1, 3, {}},
        {16, 1, 3, {}},
        {20, 1, 3, {{0.25f, 0.5f}}},
        {27, 1, 3, {{0.25f, 0.5f}}},
    };
    for (const Case& c : cases) {
        ScopedRamp ramp = NewDefault();
        // Exactly the bytes the host counts, so a read past them is caught by the sanitizers.
        const Bytes cut(full.begin(), full.begin() + c.size);
        EXPECT_EQ(ReadFlatRamp(cut.data(), c.size, &*ramp), PF_Err_INTERNAL_STRUCT_DAMAGED)
            << c.size;
        EXPECT_EQ(ramp->mode, c.mode) << c.size;
        EXPECT_EQ(ramp->interpolation, c.interpolation) << c.size;
        EXPECT_EQ(*ramp->points, c.points) << c.size;
    }
    // A huge claimed count in a short record stops at the record's end.
    ScopedRamp ramp = NewDefault();
    const Bytes claim = Record(0, 0, 2147483647, {{0.5f, 0.5f}});
    EXPECT_EQ(ReadFlatRamp(claim.data(), A_u_long(claim.size()), &*ramp),
              PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(*ramp->points, (RampPoints{{0.5f, 0.5f}}));
    // No bytes at all, whatever size the host claims.
    EXPECT_EQ(ReadFlatRamp(nullptr, 4096, &*ramp), PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(*ramp->points, (RampPoints{{0.5f, 0.5f}}));

    // Keys that are not numbers (quiet or signalling) or infinite are left out and the rest
    // restored.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    Bytes bytes = Record(0, 1, 6,
                         {{nan, 0.5f}, {0.0f, 0.25f}, {-nan, 0.75f}, {inf, 0.5f}, {-inf, 0.5f},
                          {1.0f, 1.0f}});
    const uint32_t signalling = 0x7F800001u;
    std::memcpy(&bytes[12 + 8 * 2], &signalling, 4);
    EXPECT_EQ(ReadFlatRamp(bytes.data(), A_u_long(bytes.size()), &*ramp), PF_Err_NONE);
    EXPECT_EQ(*ramp->points, (RampPoints{{0.0f, 0.25f}, {1.0f, 1.0f}}));
    EXPECT_EQ(Flat(*ramp), Record(0, 1, 2, {{0.0f, 0.25f}, {1.0f, 1.0f}}));
    // A step curve saved with an infinite last key spreads its positions within [0, 1].
    const Bytes stepToInfinity = {0, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 0x30, 0x87,
                                  0x4f, 0x3e, 0x50, 0xaf, 0x89, 0x3f, 0, 0, 0x80, 0x7f,
                                  0, 0, 0x80, 0xbf};
    EXPECT_EQ(ReadFlatRamp(stepToInfinity.data(), A_u_long(stepToInfinity.size()), &*ramp),
              PF_Err_NONE);
    for (const float position : ramp->DistributePositions(2)) {
        EXPECT_TRUE(position >= 0.0f && position <= 1.0f) << position;
    }
}

}  // namespace
