#include <string>
#include <tuple>

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

TEST_F(PathSuitesTest, MeasuresAndEvaluatesAtTheCheckoutTime) {
    A_long count = 0;
    ASSERT_EQ(query->PF_NumPaths(nullptr, &count), PF_Err_NONE);
    EXPECT_EQ(count, 2);
    PF_PathID id = 0;
    ASSERT_EQ(query->PF_PathInfo(nullptr, 1, &id), PF_Err_NONE);
    EXPECT_EQ(id, openId);
    EXPECT_EQ(query->PF_PathInfo(nullptr, 2, &id), PF_Err_BAD_CALLBACK_PARAM);

    // Half-way between the keyframes (1 s = 24 / 24) the square's side is 150.
    PF_PathOutlinePtr path = Checkout(squareId, 24, 24);
    EXPECT_EQ(host.ledger().Count("path of mask 1"), 1);
    PF_PathSegPrepPtr prep = nullptr;
    ASSERT_EQ(data->PF_PathPrepareSegLength(nullptr, path, 1, 100, &prep), PF_Err_NONE);
    EXPECT_EQ(host.ledger().Count("length preparation of segment 1 of mask 1"), 1);
    // With and without a preparation the same answers come back.
    struct Probe {
        PF_PathSegPrepPtr* prep;
        A_long segment;
        double at, x, y;
    };
    for (const Probe& p :
         {Probe{&prep, 1, 60.0, 150.0, 60.0}, Probe{nullptr, 3, 150.0, 0.0, 0.0}}) {
        double length = 0, x = -1, y = -1;
        ASSERT_EQ(data->PF_PathGetSegLength(nullptr, path, p.segment, p.prep, &length),
                  PF_Err_NONE);
        EXPECT_NEAR(length, 150.0, 1e-9);
        ASSERT_EQ(data->PF_PathEvalSegLength(nullptr, path, p.prep, p.segment, p.at, &x, &y),
                  PF_Err_NONE);
        EXPECT_NEAR(x, p.x, 1e-9);
        EXPECT_NEAR(y, p.y, 1e-9);
    }
    ASSERT_EQ(data->PF_PathCleanupSegLength(nullptr, path, 1, &prep), PF_Err_NONE);
    EXPECT_EQ(prep, nullptr);
    EXPECT_EQ(data->PF_PathNumSegments(nullptr, path, nullptr), PF_Err_BAD_CALLBACK_PARAM);
    for (const A_long segment : {4, -1}) {
        EXPECT_EQ(data->PF_PathPrepareSegLength(nullptr, path, segment, 10, &prep),
                  PF_Err_BAD_CALLBACK_PARAM);
    }
    ASSERT_EQ(query->PF_CheckinPath(nullptr, squareId, 0, path), PF_Err_NONE);

    // The closed square has four segments, the open one three.
    for (const auto& [id, open, segments] :
         {std::tuple<PF_PathID, PF_Boolean, A_long>{squareId, 0, 4}, {openId, 1, 3}}) {
        path = Checkout(id);
        PF_Boolean isOpen = 7;
        ASSERT_EQ(data->PF_PathIsOpen(nullptr, path, &isOpen), PF_Err_NONE);
        EXPECT_EQ(isOpen, open);
        ASSERT_EQ(data->PF_PathNumSegments(nullptr, path, &count), PF_Err_NONE);
        EXPECT_EQ(count, segments);
        ASSERT_EQ(query->PF_CheckinPath(nullptr, id, 0, path), PF_Err_NONE);
    }
}

TEST_F(PathSuitesTest, UnknownIdsGiveNoPathAndStalePointersAreMisuses) {
    EXPECT_EQ(Checkout(0), nullptr);
    EXPECT_EQ(Checkout(99), nullptr);
    PF_PathOutlinePtr path = Checkout(squareId);
    // A check-in under another id is refused and keeps the check-out.
    EXPECT_EQ(query->PF_CheckinPath(nullptr, openId, 0, path), PF_Err_BAD_CALLBACK_PARAM);
    ASSERT_EQ(query->PF_CheckinPath(nullptr, squareId, 0, path), PF_Err_NONE);
    A_long count = 0;
    EXPECT_EQ(data->PF_PathNumSegments(nullptr, path, &count), PF_Err_BAD_CALLBACK_PARAM);
    expectedMisuses = 2;
}

TEST_F(PathSuitesTest, EveryCallCanBeMadeToFailOrHandOutNothing) {
    PF_PathOutlinePtr path = Checkout(squareId);
    PF_PathSegPrepPtr prep = nullptr;
    ASSERT_EQ(data->PF_PathPrepareSegLength(nullptr, path, 0, 10, &prep), PF_Err_NONE);
    A_long count = 0;
    PF_PathID id = 0;
    PF_PathOutlinePtr other = nullptr;
    PF_PathSegPrepPtr otherPrep = nullptr;
    PF_Boolean open = 0;
    double length = 0, x = 0, y = 0;
    struct Call {
        const char* function;
        PF_Err result;
    };
    auto failing = [this](const char* function) {
        host.faults().FailCall(function, 1, 7);
        return function;
    };
    const Call calls[] = {
        {failing("PF_NumPaths"), query->PF_NumPaths(nullptr, &count)},
        {failing("PF_PathInfo"), query->PF_PathInfo(nullptr, 0, &id)},
        {failing("PF_CheckoutPath"), query->PF_CheckoutPath(nullptr, openId, 0, 1, 1, &other)},
        {failing("PF_CheckinPath"), query->PF_CheckinPath(nullptr, squareId, 0, path)},
        {failing("PF_PathIsOpen"), data->PF_PathIsOpen(nullptr, path, &open)},
        {failing("PF_PathNumSegments"), data->PF_PathNumSegments(nullptr, path, &count)},
        {failing("PF_PathPrepareSegLength"),
         data->PF_PathPrepareSegLength(nullptr, path, 1, 10, &otherPrep)},
        {failing("PF_PathGetSegLength"),
         data->PF_PathGetSegLength(nullptr, path, 0, &prep, &length)},
        {failing("PF_PathEvalSegLength"),
         data->PF_PathEvalSegLength(nullptr, path, &prep, 0, 1.0, &x, &y)},
        {failing("PF_PathCleanupSegLength"),
         data->PF_PathCleanupSegLength(nullptr, path, 0, &prep)},
    };
    for (const Call& call : calls) {
        EXPECT_EQ(call.result, 7) << call.function;
    }
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(otherPrep, nullptr);
    EXPECT_NE(prep, nullptr);
    EXPECT_EQ(CheckedOutPaths(host), 1u);
    EXPECT_EQ(LivePreparations(host), 1u);
    // A null fault: success, nothing handed out.
    host.faults().NullCall("PF_CheckoutPath", 1);
    EXPECT_EQ(query->PF_CheckoutPath(nullptr, openId, 0, 1, 1, &other), PF_Err_NONE);
    EXPECT_EQ(other, nullptr);
    host.faults().NullCall("PF_PathNumSegments", 1);
    count = 5;
    EXPECT_EQ(data->PF_PathNumSegments(nullptr, path, &count), PF_Err_NONE);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(data->PF_PathCleanupSegLength(nullptr, path, 0, &prep), PF_Err_NONE);
    EXPECT_EQ(query->PF_CheckinPath(nullptr, squareId, 0, path), PF_Err_NONE);
}

}  // namespace
