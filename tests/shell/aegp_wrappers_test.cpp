// The layer, mask and stream wrappers over the replacement host's AEGP suites: the walk from
// the effect to its masks' names, colours and outlines, and every failure on the way giving
// back every handle and suite.
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "host/aegp_objects.h"
#include "host/basic_suite.h"
#include "host/layer_masks.h"
#include "shell/toolkit/aegp_wrappers.h"
#include "shell/toolkit/errors.h"
#include "tests/support/module_host.h"
#include "tests/support/aegp_calls.h"

namespace quorvel::testing {
namespace {

// What one walk over the layer's masks found, as the mask-name overlay reads it.
struct MaskReading {
    std::u16string name;
    AEGP_ColorVal colour;
    A_long segments;
    AEGP_MaskVertex first;
};

class AegpWrappersTest : public ModuleTest {
  protected:
    void SetUp() override {
        ModuleTest::SetUp();
        // The module registers for its plug-in id and the host keeps the global data.
        ASSERT_EQ(effect().Send(PF_Cmd_GLOBAL_SETUP).err, PF_Err_NONE);
        host::LayerMask first;
        first.name = "Mask 1";
        first.colour = {1.0, 0.25, 0.5, 0.75};
        first.vertices = {host::MaskVertexAt(-2.5, 10, 1, 2, 3, 4), host::MaskVertexAt(50, 10)};
        host::LayerMask second;
        second.name = "R\xC3\xA4nder \xF0\x9F\x99\x82";  // a two-byte and a four-byte character
        second.closed = false;
        second.vertices = {host::MaskVertexAt(7, 8), host::MaskVertexAt(9, 10),
                           host::MaskVertexAt(11, 12)};
        host.State<host::LayerMasks>().Set({first, second});
    }

    PF_InData InData() {
        PF_InData in = {};
        in.effect_ref = &effect();
        in.pica_basicP = host::BasicSuite();
        in.global_data = effect().GlobalData();
        return in;
    }

    std::vector<MaskReading> Walk(PF_InData in) {
        std::vector<MaskReading> readings;
        AegpEffect aegpEffect(&in);
        AegpLayer layer = aegpEffect.Layer();
        const A_long count = layer.MaskCount();
        const A_Time time = {240, 2400};
        for (A_long index = 0; index < count; ++index) {
            AegpMask mask = layer.Mask(index);
            MaskReading reading = {};
            reading.colour = mask.Color();
            AegpStream outline = mask.Stream(AEGP_MaskStream_OUTLINE);
            AegpStream group = outline.Parent();
            reading.name = group.Name(false);
            AegpStreamValue value = outline.Value(AEGP_LTimeMode_LayerTime, &time, true);
            AegpMaskOutline shape = value.MaskOutline();
            reading.segments = shape.SegmentCount();
            reading.first = shape.Vertex(0);
            readings.push_back(reading);
        }
        return readings;
    }
};

TEST_F(AegpWrappersTest, WalksFromTheEffectToEveryMasksNameColourAndOutline) {
    const std::vector<MaskReading> readings = Walk(InData());
    ASSERT_EQ(readings.size(), 2u);
    EXPECT_EQ(readings[0].name, u"Mask 1");
    EXPECT_EQ(readings[0].colour.alphaF, 1.0);
    EXPECT_EQ(readings[0].colour.redF, 0.25);
    EXPECT_EQ(readings[0].colour.greenF, 0.5);
    EXPECT_EQ(readings[0].colour.blueF, 0.75);
    EXPECT_EQ(readings[0].segments, 2);
    EXPECT_EQ(readings[0].first.x, -2.5);
    EXPECT_EQ(readings[0].first.tan_out_y, 4.0);
    // UTF-16 code units as the host wrote them: a surrogate pair stays a pair.
    EXPECT_EQ(readings[1].name, std::u16string(u"R\u00e4nder \U0001F642"));
    EXPECT_EQ(readings[1].segments, 2);
    EXPECT_EQ(readings[1].first.y, 8.0);
    const std::vector<host::AegpValueRequest> requests = host.State<host::AegpObjects>().Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].timeMode, AEGP_LTimeMode_LayerTime);
    EXPECT_EQ(requests[0].time.value, 240);
    EXPECT_EQ(requests[0].time.scale, 2400u);
    EXPECT_TRUE(requests[0].preExpression);
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(AegpWrappersTest,
       WithoutGlobalDataTheEffectIsRefusedWithInternalStructDamagedAndItsMessage) {
    PF_InData in = InData();
    in.global_data = nullptr;
    try {
        AegpEffect aegpEffect(&in);
        FAIL() << "no exception";
    } catch (const Exception& exception) {
        EXPECT_EQ(exception.err, PF_Err_INTERNAL_STRUCT_DAMAGED);
        EXPECT_STREQ(exception.what(),
                     "Failed to get global data while constructing an AEGP effect");
    }
    EXPECT_EQ(host.faults().Calls("AEGP_GetNewEffectForEffect"), 0);
    EXPECT_LEDGER_BALANCED(host);
}

// Every AEGP call of the walk failing once: the walk ends with that call's code (a dispose
// that fails ends nothing), and every handle and suite is given back.
TEST_F(AegpWrappersTest, EachFailingCallEndsTheWalkWithItsCodeAndLeavesNothingBehind) {
    for (const char* call : kAegpWalkCalls) {
        for (int nth : {1, 2}) {
            host.faults().Clear();
            host.faults().FailCall(call, nth, 1000 + nth);
            A_long err = PF_Err_NONE;
            try {
                Walk(InData());
            } catch (const Exception& exception) {
                err = exception.err;
                EXPECT_STREQ(exception.what(), "") << call;
            }
            // Calls made once per walk fail only the first time.
            const bool once = std::string(call) == "AEGP_GetNewEffectForEffect" ||
                              std::string(call) == "AEGP_GetEffectLayer" ||
                              std::string(call) == "AEGP_GetLayerNumMasks";
            EXPECT_EQ(err, nth == 2 && once ? PF_Err_NONE : 1000 + nth) << call << " #" << nth;
            EXPECT_LEDGER_BALANCED(host) << call << " #" << nth;
        }
    }
    // A call that reports success but hands out no handle, memory or outline has failed all
    // the same, with PF_Err_OUT_OF_MEMORY.
    for (const char* call :
         {"AEGP_GetNewEffectForEffect", "AEGP_GetEffectLayer", "AEGP_GetLayerMaskByIndex",
          "AEGP_GetNewMaskStream", "AEGP_GetNewParentStreamRef", "AEGP_GetStreamName",
          "AEGP_LockMemHandle", "AEGP_GetNewStreamValue"}) {
        host.faults().Clear();
        host.faults().NullCall(call, 1);
        EXPECT_THROW(
            {
                try {
                    Walk(InData());
                } catch (const Exception& exception) {
                    EXPECT_EQ(exception.err, PF_Err_OUT_OF_MEMORY) << call;
                    throw;
                }
            },
            Exception)
            << call;
        EXPECT_LEDGER_BALANCED(host) << call;
    }
    for (const char* disposal : kAegpDisposals) {
        host.faults().Clear();
        host.faults().FailCall(disposal, 1, 1001);
        EXPECT_NO_THROW(Walk(InData())) << disposal;
        EXPECT_LEDGER_BALANCED(host) << disposal;
    }
}

// A missing suite ends the walk with PF_Err_BAD_CALLBACK_PARAM and leaves nothing behind: the
// suite that disposes a handle is acquired before the handle is made, for the effect and for its
// streams.
TEST_F(AegpWrappersTest, AMissingSuiteRaisesBadCallbackParamAndEveryAcquiredSuiteIsReleased) {
    const std::pair<const char*, A_long> suites[] = {
        {"AEGP PF Interface Suite", -1},   {"AEGP Layer Mask Suite", -1},
        {"AEGP Stream Suite", -1},         {"AEGP Stream Suite", 7},
        {"AEGP Stream Suite", 9},          {"AEGP Stream Suite", 10},
        {"AEGP Dynamic Stream Suite", -1}, {"AEGP Memory Suite", -1},
        {"AEGP Mask Outline Suite", -1},   {"AEGP Effect Suite", -1}};
    for (const auto& [suite, version] : suites) {
        host.faults().Clear();
        host.faults().MakeSuiteUnavailable(suite, version);
        EXPECT_THROW(
            {
                try {
                    Walk(InData());
                } catch (const HostCode& failure) {
                    EXPECT_EQ(failure.code, PF_Err_BAD_CALLBACK_PARAM);
                    throw;
                }
            },
            HostCode)
            << suite << " " << version;
        EXPECT_LEDGER_BALANCED(host) << suite << " " << version;
    }
}

TEST_F(AegpWrappersTest, NoMasksAndAnEmptyNameWhoseMemoryIsStillFreed) {
    host.State<host::LayerMasks>().Set({});
    EXPECT_TRUE(Walk(InData()).empty());
    host::LayerMask unnamed;
    unnamed.vertices = {host::MaskVertexAt(1, 2)};
    host.State<host::LayerMasks>().Set({unnamed});
    const std::vector<MaskReading> readings = Walk(InData());
    ASSERT_EQ(readings.size(), 1u);
    EXPECT_EQ(readings[0].name, u"");
    EXPECT_EQ(host.faults().Calls("AEGP_UnlockMemHandle"), 1);
    EXPECT_EQ(host.faults().Calls("AEGP_FreeMemHandle"), 1);
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(AegpWrappersTest, FieldsTheHostLeavesUnwrittenReadAsZero) {
    host.faults().NullCall("AEGP_GetMaskColor", 1);
    host.faults().NullCall("AEGP_GetMaskOutlineVertexInfo", 1);
    const std::vector<MaskReading> readings = Walk(InData());
    ASSERT_EQ(readings.size(), 2u);
    EXPECT_EQ(readings[0].colour.alphaF, 0.0);
    EXPECT_EQ(readings[0].colour.blueF, 0.0);
    EXPECT_EQ(readings[0].first.x, 0.0);
    EXPECT_EQ(readings[0].first.tan_out_y, 0.0);
    EXPECT_EQ(readings[1].first.x, 7.0);
    EXPECT_LEDGER_BALANCED(host);
}

TEST_F(AegpWrappersTest, BorrowedAndNullHandlesAreNeverDisposed) {
    PF_InData in = InData();
    {
        AegpEffect aegpEffect(&in);
        AegpMask borrowed(&aegpEffect, 0, reinterpret_cast<AEGP_MaskRefH>(&in));
        AegpMask nothing(&aegpEffect, 1, nullptr);
        AegpStream noStream(&aegpEffect, 1, nullptr);
        AEGP_StreamValue2 empty = {};
        AegpStreamValue noValue(&aegpEffect, 1, empty);
        AegpStream otherOwnership(&aegpEffect, 2, reinterpret_cast<AEGP_StreamRefH>(&in));
    }
    EXPECT_EQ(host.faults().Calls("AEGP_DisposeMask"), 0);
    EXPECT_EQ(host.faults().Calls("AEGP_DisposeStream"), 0);
    EXPECT_EQ(host.faults().Calls("AEGP_DisposeStreamValue"), 0);
    EXPECT_EQ(host.faults().Calls("AEGP_DisposeEffect"), 1);
    EXPECT_LEDGER_BALANCED(host);
}

}  // namespace
}  // namespace quorvel::testing
