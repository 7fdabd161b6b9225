// The settings snapshot against the host: every value at the frame's time (ramps through the
// effect's own interpolation), the check-out and check-in failures, several threads at once.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "shell/params/param_index.h"
#include "shell/params/render_settings.h"
#include "tests/support/module_params.h"

namespace quorvel::testing {
namespace {

using RenderSettingsTest = ParamsModuleTest;

// The 57 value parameters in the order the snapshot checks them out.
std::vector<PF_ParamIndex> ValueParams() {
    std::vector<PF_ParamIndex> indices;
    const PF_ParamIndex ranges[][2] = {
        {PARAM_MASK_1, PARAM_MASK_2},
        {PARAM_MASK_1_BASE_POINTS_DENSITY, PARAM_MASK_2_INVERT_PATH_DIRECTION},
        {PARAM_OFFSET, PARAM_QUORVEL_PERPENDICULAR_RAMP},
        {PARAM_DISTORTION_NOISE_ALONG_FACTOR, PARAM_DISTORTION_NOISE_SEED},
        {PARAM_DISTORTION_ALONG_RAMP, PARAM_DISTORTION_ALONG_RAMP_LOOP},
        {PARAM_DISTORTION_ACROSS_RAMP, PARAM_DISTORTION_ACROSS_RAMP_LOOP},
        {PARAM_OPACITY_ALONG_RAMP, PARAM_OPACITY_ALONG_RAMP_LOOP},
        {PARAM_OPACITY_ACROSS_RAMP, PARAM_OPACITY_ACROSS_RAMP_LOOP},
        {PARAM_STRIPS_ENABLE, PARAM_STRIPS_DISTRIBUTION},
        {PARAM_ANIMATE, PARAM_LOOP_MESH_PART},
        {PARAM_MULTISAMPLE_ANTI_ALIASING, PARAM_SHOW_MASKS_NAMES},
    };
    for (const auto& range : ranges) {
        for (PF_ParamIndex index = range[0]; index <= range[1]; ++index) {
            indices.push_back(index);
        }
    }
    return indices;
}

TEST_F(RenderSettingsTest, TheSnapshotHoldsEveryValueAtTheFramesTime) {
    ASSERT_EQ(SendParamsSetup().err, PF_Err_NONE);
    ASSERT_EQ(parameters().SetValue(PARAM_ANIMATE, Number(256)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetValue(PARAM_MASK_2, Number(42)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(PARAM_OFFSET, 0.0, Number(0.0)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(PARAM_OFFSET, 2.0, Number(10.0)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(PARAM_ALONG_BASE_POINTS, 0.0, Number(2)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(PARAM_ALONG_BASE_POINTS, 2.0, Number(5)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(PARAM_TEXTURE_FILTER, 0.0, Number(1)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(PARAM_TEXTURE_FILTER, 2.0, Number(2)), PF_Err_NONE);
    // A ramp between two keyframes is the effect's own interpolation of the two.
    ASSERT_EQ(parameters().SetKeyframe(
                  PARAM_QUORVEL_RAMP, 0.0,
                  Flat(RampMode_WithoutSin, RampInterpolation_Line, {{0.0f, 0.0f}, {1.0f, 1.0f}})),
              PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(PARAM_QUORVEL_RAMP, 2.0,
                                       Flat(RampMode_All, RampInterpolation_Step,
                                            {{0.0f, 1.0f}, {0.5f, 0.0f}, {1.0f, 1.0f}})),
              PF_Err_NONE);
    const size_t liveHandles = host.handles().LiveCount();

    struct Expected {
        double seconds;
        double offset;
        int32_t along;
        int32_t filter;
        int32_t interpolation;
        Points quorvel;
    };
    const Expected frames[] = {
        {0.0, 0.0, 2, 1, RampInterpolation_Line, {{0.0f, 0.0f}, {1.0f, 1.0f}}},
        {1.0, 5.0, 4, 1, RampInterpolation_Line, {{0.0f, 0.5f}, {0.75f, 0.5f}, {1.0f, 1.0f}}},
        {1.5, 7.5, 4, 1, RampInterpolation_Line, {{0.0f, 0.75f}, {0.625f, 0.25f}, {1.0f, 1.0f}}},
        {5.0, 10.0, 5, 2, RampInterpolation_Step, {{0.0f, 1.0f}, {0.5f, 0.0f}, {1.0f, 1.0f}}},
    };
    for (const Expected& frame : frames) {
        SCOPED_TRACE(frame.seconds);
        PF_InData in = FrameInData(frame.seconds);
        RenderSettings settings;
        settings.inData = &in;
        ASSERT_EQ(settings.CheckoutAll(), PF_Err_NONE);
        EXPECT_EQ(settings.paramDefs.size(), 57u);
        EXPECT_EQ(settings.offset, frame.offset);
        EXPECT_EQ(settings.alongBasePoints, frame.along);
        EXPECT_EQ(settings.textureFilter, frame.filter);
        EXPECT_EQ(settings.animate, 0) << "a checkbox of 256 is off";
        EXPECT_EQ(settings.mask2PathId, 42u);
        EXPECT_EQ(settings.backgroundBlendMode, BackgroundMode_Normal);
        EXPECT_EQ(settings.multisampleAntiAliasing, 1);
        EXPECT_EQ(settings.quorvelFactor, 100.0);
        EXPECT_EQ(settings.stripsRandomFactor, 30.0);
        EXPECT_EQ(settings.stripsCount, 100);
        EXPECT_EQ(PointsOf(settings.quorvelRamp), frame.quorvel);
        EXPECT_EQ(RampIn(settings.quorvelRamp).interpolation, frame.interpolation);
        EXPECT_EQ(PointsOf(settings.opacityAcrossRamp), (Points{{0.0f, 1.0f}, {1.0f, 1.0f}}));
        EXPECT_EQ(PointsOf(settings.mask1BasePointsDensity), (Points{{0.0f, 0.5f}, {1.0f, 0.5f}}));
        EXPECT_EQ(parameters().OutstandingCheckouts(), 57u);
        EXPECT_EQ(settings.CheckinAll(&in), PF_Err_NONE);
        EXPECT_TRUE(settings.paramDefs.empty());
        EXPECT_LEDGER_BALANCED(host);
        EXPECT_EQ(host.handles().LiveCount(), liveHandles) << "every ramp copy disposed";
    }
}

TEST_F(RenderSettingsTest, ValuesAreCopiedAsTheHostGaveThem) {
    ASSERT_EQ(SendParamsSetup().err, PF_Err_NONE);
    const uint64_t nanBits = 0x7FF4000000000123ULL;  // a signalling NaN with a payload
    double nan;
    std::memcpy(&nan, &nanBits, sizeof nan);
    ASSERT_EQ(parameters().SetValue(PARAM_OFFSET, Number(nan)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetValue(PARAM_QUORVEL_FACTOR, Number(-0.0)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetValue(PARAM_LOOP_MESH_PART, Number(DBL_MAX)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetValue(PARAM_MASK_1, Number(4294967295.0)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetValue(PARAM_STRIPS_COUNT, Number(2147483647)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetValue(PARAM_DISTORTION_NOISE_SEED, Number(-5)), PF_Err_NONE);
    ASSERT_EQ(parameters().SetValue(PARAM_SHOW_MASKS_NAMES, Number(257)), PF_Err_NONE);

    PF_InData in = FrameInData(0.0);
    RenderSettings settings;
    settings.inData = &in;
    ASSERT_EQ(settings.CheckoutAll(), PF_Err_NONE);
    uint64_t offsetBits;
    std::memcpy(&offsetBits, &settings.offset, sizeof offsetBits);
    EXPECT_EQ(offsetBits, nanBits);
    EXPECT_TRUE(std::signbit(settings.quorvelFactor));
    EXPECT_EQ(settings.loopMeshPart, DBL_MAX);
    EXPECT_EQ(settings.mask1PathId, 4294967295u);
    EXPECT_EQ(settings.stripsCount, 2147483647);
    EXPECT_EQ(settings.distortionNoiseSeed, -5);
    EXPECT_EQ(settings.showMasksNames, 1) << "the low byte of 257";
    for (size_t i = 0; i < settings.paramDefs.size(); ++i) {
        EXPECT_EQ(settings.paramDefs[i].uu.id, parameters().At(ValueParams()[i]).uu.id) << i;
    }
    EXPECT_EQ(settings.CheckinAll(&in), PF_Err_NONE);
    EXPECT_LEDGER_BALANCED(host);
}

// The bytes of every value field of a snapshot, to see which ones a call wrote.
#define QUORVEL_FIELD_BYTES(FIELD) fields.emplace_back(&settings.FIELD, sizeof settings.FIELD);
#define QUORVEL_FIELD_BYTES_PATH QUORVEL_FIELD_BYTES
#define QUORVEL_FIELD_BYTES_GROUP_START(FIELD)
#define QUORVEL_FIELD_BYTES_GROUP_END(FIELD)
#define QUORVEL_FIELD_BYTES_FLOAT_SLIDER QUORVEL_FIELD_BYTES
#define QUORVEL_FIELD_BYTES_SLIDER QUORVEL_FIELD_BYTES
#define QUORVEL_FIELD_BYTES_CHECKBOX QUORVEL_FIELD_BYTES
#define QUORVEL_FIELD_BYTES_POPUP QUORVEL_FIELD_BYTES
#define QUORVEL_FIELD_BYTES_ARBITRARY_DATA QUORVEL_FIELD_BYTES
#define QUORVEL_FIELD_BYTES_OF(NAME, SAVED_ID, DISPLAY_NAME, KIND, FIELD, DETAIL) \
    QUORVEL_FIELD_BYTES_##KIND(FIELD)

std::vector<std::pair<void*, size_t>> ValueFields(RenderSettings& settings) {
    std::vector<std::pair<void*, size_t>> fields;
    QUORVEL_PARAMETERS(QUORVEL_FIELD_BYTES_OF)
    return fields;
}

#undef QUORVEL_FIELD_BYTES_OF
#undef QUORVEL_FIELD_BYTES_ARBITRARY_DATA
#undef QUORVEL_FIELD_BYTES_POPUP
#undef QUORVEL_FIELD_BYTES_CHECKBOX
#undef QUORVEL_FIELD_BYTES_SLIDER
#undef QUORVEL_FIELD_BYTES_FLOAT_SLIDER
#undef QUORVEL_FIELD_BYTES_GROUP_END
#undef QUORVEL_FIELD_BYTES_GROUP_START
#undef QUORVEL_FIELD_BYTES_PATH
#undef QUORVEL_FIELD_BYTES

constexpr unsigned char kUnwritten = 0xA5;

void MarkUnwritten(RenderSettings& settings) {
    for (const auto& [field, size] : ValueFields(settings)) {
        std::memset(field, kUnwritten, size);
    }
}

// How many value fields no longer hold the mark.
int WrittenFields(RenderSettings& settings) {
    int written = 0;
    for (const auto& [field, size] : ValueFields(settings)) {
        const auto* bytes = static_cast<const unsigned char*>(field);
        written +=
            std::any_of(bytes, bytes + size, [](unsigned char b) { return b != kUnwritten; });
    }
    return written;
}

TEST_F(RenderSettingsTest, TheSnapshotsFailureCases) {
    ASSERT_EQ(SendParamsSetup().err, PF_Err_NONE);
    PF_InData in = FrameInData(0.0);
    const size_t liveHandles = host.handles().LiveCount();

    // The first check-out fails: the host is asked once, no field is written, and the host
    // gets nothing back.
    {
        host.faults().FailCall("checkout_param", 1, PF_Err_OUT_OF_MEMORY);
        const long checkouts = host.faults().Calls("checkout_param");
        const long checkins = host.faults().Calls("checkin_param");
        RenderSettings settings;
        settings.inData = &in;
        ASSERT_EQ(ValueFields(settings).size(), 57u);
        MarkUnwritten(settings);
        EXPECT_EQ(settings.CheckoutAll(), PF_Err_OUT_OF_MEMORY);
        EXPECT_EQ(host.faults().Calls("checkout_param"), checkouts + 1);
        EXPECT_EQ(WrittenFields(settings), 0);
        EXPECT_EQ(settings.paramDefs.size(), 57u);
        EXPECT_EQ(settings.CheckinAll(&in), PF_Err_NONE);
        EXPECT_EQ(host.faults().Calls("checkin_param"), checkins);
        EXPECT_LEDGER_BALANCED(host);
    }
    // A later check-out fails: only what the host handed out goes back to it.
    {
        host.faults().FailCall("checkout_param", 13, PF_Err_OUT_OF_MEMORY);
        const long checkins = host.faults().Calls("checkin_param");
        RenderSettings settings;
        settings.inData = &in;
        settings.distortionNoiseAlongFactor = -1.0;
        EXPECT_EQ(settings.CheckoutAll(), PF_Err_OUT_OF_MEMORY);
        EXPECT_EQ(settings.distortionNoiseAlongFactor, -1.0) << "the failing field is not written";
        EXPECT_EQ(PointsOf(settings.quorvelPerpendicularRamp).size(), 4u) << "the one before is";
        EXPECT_EQ(settings.CheckinAll(&in), PF_Err_NONE);
        EXPECT_EQ(host.faults().Calls("checkin_param"), checkins + 12);
        EXPECT_LEDGER_BALANCED(host);
        EXPECT_EQ(host.handles().LiveCount(), liveHandles);
    }
    // A ramp copy the effect cannot make fails its check-out; what came before goes back.
    {
        host.faults().NullCall("host_new_handle", 1);
        RenderSettings settings;
        settings.inData = &in;
        EXPECT_EQ(settings.CheckoutAll(), PF_Err_OUT_OF_MEMORY);
        EXPECT_EQ(settings.CheckinAll(&in), PF_Err_NONE);
        EXPECT_LEDGER_BALANCED(host);
        EXPECT_EQ(host.handles().LiveCount(), liveHandles);
    }
    // The third check-in fails: the walk ends there with its code.
    {
        RenderSettings settings;
        settings.inData = &in;
        ASSERT_EQ(settings.CheckoutAll(), PF_Err_NONE);
        const long checkins = host.faults().Calls("checkin_param");
        host.faults().FailCall("checkin_param", 3, PF_Err_INTERNAL_STRUCT_DAMAGED);
        EXPECT_EQ(settings.CheckinAll(&in), PF_Err_INTERNAL_STRUCT_DAMAGED);
        EXPECT_EQ(host.faults().Calls("checkin_param"), checkins + 3);
        EXPECT_TRUE(settings.paramDefs.empty());
        EXPECT_EQ(parameters().OutstandingCheckouts(), 55u);
    }
}

TEST_F(RenderSettingsTest, SnapshotsOnSeveralThreadsAtOnceBalanceTheLedger) {
    ASSERT_EQ(SendParamsSetup().err, PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(PARAM_OPACITY_ALONG_RAMP, 0.0,
                                       Flat(RampMode_All, RampInterpolation_Line, {{0.0f, 0.0f}})),
              PF_Err_NONE);
    ASSERT_EQ(parameters().SetKeyframe(PARAM_OPACITY_ALONG_RAMP, 1.0,
                                       Flat(RampMode_All, RampInterpolation_Line, {{0.0f, 1.0f}})),
              PF_Err_NONE);
    const size_t liveHandles = host.handles().LiveCount();
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            PF_InData in = FrameInData(0.25 * t);
            for (int frame = 0; frame < 20; ++frame) {
                RenderSettings settings;
                settings.inData = &in;
                failures[t] += settings.CheckoutAll() != PF_Err_NONE;
                failures[t] += PointsOf(settings.opacityAlongRamp) !=
                               Points{{0.0f, 0.25f * static_cast<float>(t)}};
                failures[t] += settings.CheckinAll(&in) != PF_Err_NONE;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(failures, std::vector<int>(4, 0));
    EXPECT_LEDGER_BALANCED(host);
    EXPECT_EQ(host.handles().LiveCount(), liveHandles);
}

}  // namespace
}  // namespace quorvel::testing
