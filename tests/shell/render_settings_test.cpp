#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "shell/param_index.h"
#include "shell/render_settings.h"
#include "tests/shell/fake_effect_host.h"

namespace {

// The 57 value parameters in the order the snapshot checks them out.
std::vector<A_long> ValueParams() {
    std::vector<A_long> indices;
    const int ranges[][2] = {{1, 2},   {4, 7},   {9, 14},  {17, 28}, {31, 34}, {37, 40},
                             {45, 48}, {51, 54}, {58, 62}, {65, 68}, {71, 78}};
    for (const auto& range : ranges) {
        for (int index = range[0]; index <= range[1]; ++index) {
            if (index != 8) {
                indices.push_back(index);
            }
        }
    }
    return indices;
}

PF_ParamDef Zero() {
    PF_ParamDef def;
    std::memset(&def, 0, sizeof def);
    return def;
}

PF_ArbitraryH FakeHandle(uintptr_t n) {
    return reinterpret_cast<PF_ArbitraryH>(0x1000 + n);
}

class RenderSettingsTest : public testing::Test {
  protected:
    void SetUp() override {
        settings.inData = &host.in_data;
        for (A_long index : ValueParams()) {
            PF_ParamDef def = Zero();
            def.uu.id = 1000 + index;  // marks whose definition it is
            def.u.sd.value = index;    // every integer-valued kind reads the first word
            host.values[index] = def;
        }
    }

    FakeEffectHost host;
    RenderSettings settings;
};

TEST_F(RenderSettingsTest, CopiesEveryValueAsTheHostGaveIt) {
    const uint64_t nanBits = 0x7FF4000000000123ULL;  // a signalling NaN with a payload
    double nan;
    std::memcpy(&nan, &nanBits, sizeof nan);
    host.values[PARAM_MASK_1].u.path_d.path_id = 0xFFFFFFFFu;
    host.values[PARAM_MASK_2].u.path_d.path_id = 7;
    host.values[PARAM_OFFSET].u.fs_d.value = nan;
    host.values[PARAM_QUORVEL_FACTOR].u.fs_d.value = -0.0;
    host.values[PARAM_LOOP_MESH_PART].u.fs_d.value = std::numeric_limits<double>::max();
    host.values[PARAM_ANIMATION_SPEED].u.fs_d.value = 100.0;
    host.values[PARAM_STRIPS_ENABLE].u.bd.value = 256;
    host.values[PARAM_ANIMATE].u.bd.value = 257;
    host.values[PARAM_SHOW_MASKS_NAMES].u.bd.value = 1;
    host.values[PARAM_BACKGROUND_BLEND_MODE].u.pd.value = BackgroundMode_Normal;
    host.values[PARAM_TEXTURE_FILTER].u.pd.value = TextureFilter_Nearest;
    host.values[PARAM_STRIPS_COUNT].u.sd.value = 2147483647;
    host.values[PARAM_DISTORTION_NOISE_SEED].u.sd.value = -5;
    host.values[PARAM_QUORVEL_RAMP].u.arb_d.value = FakeHandle(13);
    host.values[PARAM_STRIPS_DISTRIBUTION].u.arb_d.value = FakeHandle(62);

    EXPECT_EQ(settings.CheckoutAll(), PF_Err_NONE);
    EXPECT_EQ(host.checkouts, ValueParams());
    ASSERT_EQ(settings.paramDefs.size(), 57u);
    EXPECT_GE(settings.paramDefs.capacity(), 80u);

    EXPECT_EQ(settings.mask1PathId, 0xFFFFFFFFu);
    EXPECT_EQ(settings.mask2PathId, 7u);
    uint64_t offsetBits;
    std::memcpy(&offsetBits, &settings.offset, sizeof offsetBits);
    EXPECT_EQ(offsetBits, nanBits);
    EXPECT_TRUE(std::signbit(settings.quorvelFactor));
    EXPECT_EQ(settings.loopMeshPart, std::numeric_limits<double>::max());
    EXPECT_EQ(settings.animationSpeed, 100.0) << "percent sliders are not scaled";
    EXPECT_EQ(settings.stripsEnable, 0) << "only the low byte of a checkbox counts";
    EXPECT_EQ(settings.animate, 1);
    EXPECT_EQ(settings.showMasksNames, 1);
    EXPECT_EQ(settings.backgroundBlendMode, 2);
    EXPECT_EQ(settings.textureFilter, 1);
    EXPECT_EQ(settings.stripsCount, 2147483647);
    EXPECT_EQ(settings.distortionNoiseSeed, -5);
    EXPECT_EQ(settings.quorvelRamp, FakeHandle(13));
    EXPECT_EQ(settings.stripsDistribution, FakeHandle(62));
    // Values that only carry their index: each field reads its own parameter.
    EXPECT_EQ(settings.mask2InvertPathDirection, PARAM_MASK_2_INVERT_PATH_DIRECTION);
    EXPECT_EQ(settings.quorvelDirection, PARAM_QUORVEL_DIRECTION);
    EXPECT_EQ(settings.distortionNoiseCoordinates, PARAM_DISTORTION_NOISE_COORDINATES);
    EXPECT_EQ(settings.stripsRandomSeed, PARAM_STRIPS_RANDOM_SEED);
    EXPECT_EQ(settings.acrossBasePoints, PARAM_ACROSS_BASE_POINTS);
    EXPECT_EQ(settings.alongBasePoints, PARAM_ALONG_BASE_POINTS);
    EXPECT_EQ(settings.opacityAcrossRampLoop, PARAM_OPACITY_ACROSS_RAMP_LOOP);

    const std::vector<PF_ParamDef> held = settings.paramDefs;
    const PF_ParamDef* storage = settings.paramDefs.data();
    EXPECT_EQ(settings.CheckinAll(&host.in_data), PF_Err_NONE);
    ASSERT_EQ(host.checkins.size(), 57u);
    for (size_t i = 0; i < held.size(); ++i) {
        EXPECT_EQ(std::memcmp(&host.checkins[i], &held[i], sizeof held[i]), 0) << i;
    }
    EXPECT_TRUE(settings.paramDefs.empty());

    // A second frame on the same record grows the list without reallocating.
    EXPECT_EQ(settings.CheckoutAll(), PF_Err_NONE);
    EXPECT_EQ(settings.paramDefs.data(), storage);
    EXPECT_EQ(settings.CheckinAll(&host.in_data), PF_Err_NONE);
}

TEST_F(RenderSettingsTest, AFailingFirstCheckoutAsksOnceAndChecksNothingIn) {
    host.failCheckoutAt = 0;
    settings.mask1PathId = 42;
    settings.showMasksNames = 9;
    EXPECT_EQ(settings.CheckoutAll(), PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(host.checkouts.size(), 1u);
    ASSERT_EQ(settings.paramDefs.size(), 57u);
    const PF_ParamDef zero = Zero();
    for (const PF_ParamDef& def : settings.paramDefs) {
        EXPECT_EQ(std::memcmp(&def, &zero, sizeof def), 0);
    }
    EXPECT_EQ(settings.mask1PathId, 42u);
    EXPECT_EQ(settings.showMasksNames, 9);

    EXPECT_EQ(settings.CheckinAll(&host.in_data), PF_Err_NONE);
    EXPECT_TRUE(host.checkins.empty()) << "the host handed nothing out";
    EXPECT_TRUE(settings.paramDefs.empty());
}

TEST_F(RenderSettingsTest, AFailingLaterCheckoutChecksInOnlyWhatTheHostHandedOut) {
    host.failCheckoutAt = 12;  // the 13th value parameter, "Distortion Noise Along Factor"
    host.values[PARAM_QUORVEL_PERPENDICULAR_RAMP].u.arb_d.value = FakeHandle(14);
    settings.distortionNoiseAlongFactor = -1.0;
    EXPECT_EQ(settings.CheckoutAll(), PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(host.checkouts.size(), 13u);
    EXPECT_EQ(settings.paramDefs.size(), 57u);
    EXPECT_EQ(settings.quorvelPerpendicularRamp, FakeHandle(14)) << "the last one checked out";
    EXPECT_EQ(settings.distortionNoiseAlongFactor, -1.0);

    EXPECT_EQ(settings.CheckinAll(&host.in_data), PF_Err_NONE);
    ASSERT_EQ(host.checkins.size(), 12u);
    const std::vector<A_long> order = ValueParams();
    for (size_t i = 0; i < host.checkins.size(); ++i) {
        EXPECT_EQ(host.checkins[i].uu.id, 1000 + order[i]);
    }
    EXPECT_TRUE(settings.paramDefs.empty());
}

TEST_F(RenderSettingsTest, AFailingThirdCheckinEndsTheWalkAndEmptiesTheList) {
    host.failCheckinAt = 2;
    EXPECT_EQ(settings.CheckoutAll(), PF_Err_NONE);
    EXPECT_EQ(settings.CheckinAll(&host.in_data), PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(host.checkins.size(), 3u);
    EXPECT_TRUE(settings.paramDefs.empty());
    EXPECT_GE(settings.paramDefs.capacity(), 80u);
}

}  // namespace
