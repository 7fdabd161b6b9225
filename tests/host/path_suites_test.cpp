#include <gtest/gtest.h>

#include "host/basic_suite.h"
#include "host/suites/path_suites.h"
#include "tests/support/module_host.h"

namespace {

using quorvel::host::CheckedOutPaths;
using quorvel::host::LivePreparations;
using quorvel::host::MaskKeyframe;
using quorvel::host::MaskPath;
using quorvel::host::MaskPaths;
using quorvel::host::MaskShape;
using quorvel::host::MaskVertex;

MaskShape Square(double side) {
    MaskShape shape;
    shape.vertices = {MaskVertex{{0, 0}, {0, 0}, {0, 0}}, MaskVertex{{side, 0}, {0, 0}, {0, 0}},
                      MaskVertex{{side, side}, {0, 0}, {0, 0}},
                      MaskVertex{{0, side}, {0, 0}, {0, 0}}};
    return shape;
}

class PathSuitesTest : public quorvel::testing::ModuleTest {
  protected:
    void SetUp() override {
        ModuleTest::SetUp();
        SPBasicSuite* basic = quorvel::host::BasicSuite();
        const void* table = nullptr;
        ASSERT_EQ(basic->AcquireSuite(kPFPathQuerySuite, 1, &table), 0);
        query = static_cast<const PF_PathQuerySuite1*>(table);
        ASSERT_EQ(basic->AcquireSuite(kPFPathDataSuite, 1, &table), 0);
        data = static_cast<const PF_PathDataSuite1*>(table);
        MaskPath square;
        square.name = "Square";
        square.keyframes = {MaskKeyframe{0.0, Square(100)}, MaskKeyframe{2.0, Square(200)}};
        squareId = MaskPaths(host).Add(square);
        MaskPath open;
        open.name = "Open";
        MaskShape shape = Square(50);
        shape.closed = false;
        open.keyframes = {MaskKeyframe{0.0, shape}};
        openId = MaskPaths(host).Add(open);
    }
    void TearDown() override {
        SPBasicSuite* basic = quorvel::host::BasicSuite();
        basic->ReleaseSuite(kPFPathQuerySuite, 1);
        basic->ReleaseSuite(kPFPathDataSuite, 1);
        EXPECT_EQ(CheckedOutPaths(host), 0u);
        EXPECT_EQ(LivePreparations(host), 0u);
        EXPECT_TRUE(host.ledger().Outstanding().empty()) << host.ledger().Describe();
        EXPECT_EQ(host.ledger().Misuses().size(), expectedMisuses) << host.ledger().Describe();
    }

    PF_PathOutlinePtr Checkout(PF_PathID id, A_long time = 0, A_u_long scale = 1) {
        PF_PathOutlinePtr path = nullptr;
        EXPECT_EQ(query->PF_CheckoutPath(nullptr, id, time, 1, scale, &path), PF_Err_NONE);
        return path;
    }

    const PF_PathQuerySuite1* query = nullptr;
    const PF_PathDataSuite1* data = nullptr;
    PF_PathID squareId = 0;
    PF_PathID openId = 0;
    size_t expectedMisuses = 0;
};

// Which paths are open and how many segments they have, the module's meshes through closed and
// open masks show.
TEST_F(PathSuitesTest, MeasuresAndEvaluatesAtTheCheckoutTime) {
    A_long count = 0;
    ASSERT_EQ(query->PF_NumPaths(nullptr, &count), PF_Err_NONE);
    EXPECT_EQ(count, 2);
    PF_PathID id = 0;
    ASSERT_EQ(query->PF_PathInfo(nullptr, 1, &id), PF_Err_NONE);
    EXPECT_EQ(id, openId);
    EXPECT_EQ(query->PF_PathInfo(nullptr, 2, &id), PF_Err_BAD_CALLBACK_PARAM);
    // The module never makes these two calls, so its frames' fault walk never fails them.
    host.faults().FailCall("PF_NumPaths", 1, 7);
    host.faults().FailCall("PF_PathInfo", 1, 7);
    EXPECT_EQ(query->PF_NumPaths(nullptr, &count), 7);
    EXPECT_EQ(query->PF_PathInfo(nullptr, 0, &id), 7);

    // Half-way between the keyframes (1 s = 24 / 24) the square's side is 150. Lengths and
    // points with a preparation, as the module measures, its mask samples show; without one the
    // same come back.
    PF_PathOutlinePtr path = Checkout(squareId, 24, 24);
    double length = 0, x = -1, y = -1;
    ASSERT_EQ(data->PF_PathGetSegLength(nullptr, path, 3, nullptr, &length), PF_Err_NONE);
    EXPECT_NEAR(length, 150.0, 1e-9);
    ASSERT_EQ(data->PF_PathEvalSegLength(nullptr, path, nullptr, 1, 60.0, &x, &y), PF_Err_NONE);
    EXPECT_NEAR(x, 150.0, 1e-9);
    EXPECT_NEAR(y, 60.0, 1e-9);
    PF_PathSegPrepPtr prep = nullptr;
    ASSERT_EQ(data->PF_PathPrepareSegLength(nullptr, path, 1, 100, &prep), PF_Err_NONE);
    ASSERT_EQ(data->PF_PathCleanupSegLength(nullptr, path, 1, &prep), PF_Err_NONE);
    EXPECT_EQ(prep, nullptr);
    EXPECT_EQ(data->PF_PathNumSegments(nullptr, path, nullptr), PF_Err_BAD_CALLBACK_PARAM);
    for (const A_long segment : {4, -1}) {
        EXPECT_EQ(data->PF_PathPrepareSegLength(nullptr, path, segment, 10, &prep),
                  PF_Err_BAD_CALLBACK_PARAM);
    }
    ASSERT_EQ(query->PF_CheckinPath(nullptr, squareId, 0, path), PF_Err_NONE);
}

// Faults of the calls that the module makes are walked through its frames; what a null fault
// hands out is seen here.
TEST_F(PathSuitesTest, UnknownIdsAndNullFaultsGiveNoPathAndStalePointersAreMisuses) {
    EXPECT_EQ(Checkout(0), nullptr);
    EXPECT_EQ(Checkout(99), nullptr);
    host.faults().NullCall("PF_CheckoutPath", 1);
    EXPECT_EQ(Checkout(openId), nullptr);
    PF_PathOutlinePtr path = Checkout(squareId);
    host.faults().NullCall("PF_PathNumSegments", 1);
    A_long count = 5;
    EXPECT_EQ(data->PF_PathNumSegments(nullptr, path, &count), PF_Err_NONE);
    EXPECT_EQ(count, 0);
    // A check-in under another id is refused and keeps the check-out.
    EXPECT_EQ(query->PF_CheckinPath(nullptr, openId, 0, path), PF_Err_BAD_CALLBACK_PARAM);
    ASSERT_EQ(query->PF_CheckinPath(nullptr, squareId, 0, path), PF_Err_NONE);
    EXPECT_EQ(data->PF_PathNumSegments(nullptr, path, &count), PF_Err_BAD_CALLBACK_PARAM);
    expectedMisuses = 2;
}

}  // namespace
