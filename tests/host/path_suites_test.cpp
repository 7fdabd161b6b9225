#include <map>
#include <string>

#include <gtest/gtest.h>

#include "host/path_suites.h"

namespace {

using quorvel::host::MaskKeyframe;
using quorvel::host::MaskPath;
using quorvel::host::MaskSet;
using quorvel::host::MaskShape;
using quorvel::host::MaskVertex;
using quorvel::host::PathSuites;

// One instance whose effect_ref is the address of its mask set, a fault that fires on one
// named call, and a ledger by kind.
MaskSet g_masks;
std::string g_failing;
std::map<std::string, int> g_ledger;

const MaskSet* MasksOf(PF_ProgPtr effectRef) {
    return effectRef == &g_masks ? &g_masks : nullptr;
}
PF_Err Fault(const char* function) {
    return g_failing == function ? 4 : 0;
}
void Count(const char* kind, int delta) {
    g_ledger[kind] += delta;
}

MaskShape Square(double side) {
    MaskShape shape;
    shape.vertices = {MaskVertex{{0, 0}, {0, 0}, {0, 0}}, MaskVertex{{side, 0}, {0, 0}, {0, 0}},
                      MaskVertex{{side, side}, {0, 0}, {0, 0}},
                      MaskVertex{{0, side}, {0, 0}, {0, 0}}};
    return shape;
}

class PathSuitesTest : public testing::Test {
  protected:
    void SetUp() override {
        g_masks = MaskSet{};
        g_failing.clear();
        g_ledger.clear();
        PathSuiteHooksInstall();
        MaskPath square;
        square.name = "Square";
        square.keyframes = {MaskKeyframe{0.0, Square(100)}, MaskKeyframe{2.0, Square(200)}};
        squareId = g_masks.Add(square);
        MaskPath open;
        open.name = "Open";
        MaskShape shape = Square(50);
        shape.closed = false;
        open.keyframes = {MaskKeyframe{0.0, shape}};
        openId = g_masks.Add(open);
    }
    void TearDown() override {
        EXPECT_EQ(PathSuites::CheckedOutPaths(), 0u);
        EXPECT_EQ(PathSuites::LivePreparations(), 0u);
        for (const auto& entry : g_ledger) {
            EXPECT_EQ(entry.second, 0) << entry.first;
        }
    }
    static void PathSuiteHooksInstall() {
        quorvel::host::PathSuiteHooks hooks;
        hooks.masksOf = &MasksOf;
        hooks.fault = &Fault;
        hooks.count = &Count;
        PathSuites::Install(hooks);
    }

    PF_PathOutlinePtr Checkout(PF_PathID id, A_long time = 0, A_u_long scale = 1) {
        PF_PathOutlinePtr path = nullptr;
        EXPECT_EQ(query->PF_CheckoutPath(&g_masks, id, time, 1, scale, &path), PF_Err_NONE);
        return path;
    }

    const PF_PathQuerySuite1* query = PathSuites::Query();
    const PF_PathDataSuite1* data = PathSuites::Data();
    PF_PathID squareId = 0;
    PF_PathID openId = 0;
};

TEST_F(PathSuitesTest, MeasuresAndEvaluatesAtTheCheckoutTime) {
    EXPECT_EQ(g_masks.IdOf("Open"), openId);
    EXPECT_EQ(g_masks.IdOf("Nothing"), 0u);
    A_long count = 0;
    ASSERT_EQ(query->PF_NumPaths(&g_masks, &count), PF_Err_NONE);
    EXPECT_EQ(count, 2);
    PF_PathID id = 0;
    ASSERT_EQ(query->PF_PathInfo(&g_masks, 1, &id), PF_Err_NONE);
    EXPECT_EQ(id, openId);
    EXPECT_EQ(query->PF_PathInfo(&g_masks, 2, &id), PF_Err_BAD_CALLBACK_PARAM);

    // Half-way between the keyframes (1 s = 24 / 24) the square's side is 150.
    PF_PathOutlinePtr path = Checkout(squareId, 24, 24);
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(g_ledger["path"], 1);
    PF_Boolean open = 7;
    ASSERT_EQ(data->PF_PathIsOpen(&g_masks, path, &open), PF_Err_NONE);
    EXPECT_EQ(open, 0);
    ASSERT_EQ(data->PF_PathNumSegments(&g_masks, path, &count), PF_Err_NONE);
    EXPECT_EQ(count, 4);
    PF_PathSegPrepPtr prep = nullptr;
    ASSERT_EQ(data->PF_PathPrepareSegLength(&g_masks, path, 1, 100, &prep), PF_Err_NONE);
    EXPECT_EQ(g_ledger["path preparation"], 1);
    double length = 0;
    ASSERT_EQ(data->PF_PathGetSegLength(&g_masks, path, 1, &prep, &length), PF_Err_NONE);
    EXPECT_NEAR(length, 150.0, 1e-9);
    double x = 0, y = 0;
    ASSERT_EQ(data->PF_PathEvalSegLength(&g_masks, path, &prep, 1, 60.0, &x, &y), PF_Err_NONE);
    EXPECT_NEAR(x, 150.0, 1e-9);
    EXPECT_NEAR(y, 60.0, 1e-9);
    // A preparation belongs to its segment.
    EXPECT_EQ(data->PF_PathEvalSegLength(&g_masks, path, &prep, 2, 1.0, &x, &y),
              PF_Err_BAD_CALLBACK_PARAM);
    ASSERT_EQ(data->PF_PathCleanupSegLength(&g_masks, path, 1, &prep), PF_Err_NONE);
    EXPECT_EQ(prep, nullptr);
    // Without a preparation the same answers come back.
    ASSERT_EQ(data->PF_PathGetSegLength(&g_masks, path, 3, nullptr, &length), PF_Err_NONE);
    EXPECT_NEAR(length, 150.0, 1e-9);
    ASSERT_EQ(data->PF_PathEvalSegLength(&g_masks, path, nullptr, 3, 150.0, &x, &y), PF_Err_NONE);
    EXPECT_NEAR(x, 0.0, 1e-9);
    EXPECT_NEAR(y, 0.0, 1e-9);
    EXPECT_EQ(data->PF_PathNumSegments(&g_masks, path, nullptr), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(data->PF_PathPrepareSegLength(&g_masks, path, 4, 10, &prep),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(data->PF_PathPrepareSegLength(&g_masks, path, -1, 10, &prep),
              PF_Err_BAD_CALLBACK_PARAM);
    ASSERT_EQ(query->PF_CheckinPath(&g_masks, squareId, 0, path), PF_Err_NONE);

    PF_PathOutlinePtr openPath = Checkout(openId);
    ASSERT_EQ(data->PF_PathIsOpen(&g_masks, openPath, &open), PF_Err_NONE);
    EXPECT_EQ(open, 1);
    ASSERT_EQ(data->PF_PathNumSegments(&g_masks, openPath, &count), PF_Err_NONE);
    EXPECT_EQ(count, 3);
    ASSERT_EQ(query->PF_CheckinPath(&g_masks, openId, 0, openPath), PF_Err_NONE);
}

TEST_F(PathSuitesTest, UnknownIdsAndStalePointersAreRefused) {
    EXPECT_EQ(Checkout(0), nullptr);
    EXPECT_EQ(Checkout(99), nullptr);
    EXPECT_EQ(g_ledger["path"], 0);
    PF_PathOutlinePtr path = nullptr;
    EXPECT_EQ(query->PF_CheckoutPath(nullptr, squareId, 0, 1, 1, &path), PF_Err_BAD_CALLBACK_PARAM);
    path = Checkout(squareId);
    // A check-in under another id is refused and keeps the check-out.
    EXPECT_EQ(query->PF_CheckinPath(&g_masks, openId, 0, path), PF_Err_BAD_CALLBACK_PARAM);
    ASSERT_EQ(query->PF_CheckinPath(&g_masks, squareId, 0, path), PF_Err_NONE);
    EXPECT_EQ(query->PF_CheckinPath(&g_masks, squareId, 0, path), PF_Err_BAD_CALLBACK_PARAM);
    A_long count = 0;
    EXPECT_EQ(data->PF_PathNumSegments(&g_masks, path, &count), PF_Err_BAD_CALLBACK_PARAM);
    PF_PathSegPrepPtr prep = nullptr;
    EXPECT_EQ(data->PF_PathPrepareSegLength(&g_masks, path, 0, 10, &prep),
              PF_Err_BAD_CALLBACK_PARAM);
}

TEST_F(PathSuitesTest, EveryCallCanBeMadeToFailWithoutChangingAnything) {
    PF_PathOutlinePtr path = Checkout(squareId);
    PF_PathSegPrepPtr prep = nullptr;
    ASSERT_EQ(data->PF_PathPrepareSegLength(&g_masks, path, 0, 10, &prep), PF_Err_NONE);
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
    auto failing = [](const char* function) {
        g_failing = function;
        return function;
    };
    const Call calls[] = {
        {failing("PF_NumPaths"), query->PF_NumPaths(&g_masks, &count)},
        {failing("PF_PathInfo"), query->PF_PathInfo(&g_masks, 0, &id)},
        {failing("PF_CheckoutPath"), query->PF_CheckoutPath(&g_masks, openId, 0, 1, 1, &other)},
        {failing("PF_CheckinPath"), query->PF_CheckinPath(&g_masks, squareId, 0, path)},
        {failing("PF_PathIsOpen"), data->PF_PathIsOpen(&g_masks, path, &open)},
        {failing("PF_PathNumSegments"), data->PF_PathNumSegments(&g_masks, path, &count)},
        {failing("PF_PathPrepareSegLength"),
         data->PF_PathPrepareSegLength(&g_masks, path, 1, 10, &otherPrep)},
        {failing("PF_PathGetSegLength"),
         data->PF_PathGetSegLength(&g_masks, path, 0, &prep, &length)},
        {failing("PF_PathEvalSegLength"),
         data->PF_PathEvalSegLength(&g_masks, path, &prep, 0, 1.0, &x, &y)},
        {failing("PF_PathCleanupSegLength"),
         data->PF_PathCleanupSegLength(&g_masks, path, 0, &prep)},
    };
    for (const Call& call : calls) {
        EXPECT_EQ(call.result, 4) << call.function;
    }
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(otherPrep, nullptr);
    EXPECT_NE(prep, nullptr);
    EXPECT_EQ(g_ledger["path"], 1);
    EXPECT_EQ(g_ledger["path preparation"], 1);
    g_failing.clear();
    EXPECT_EQ(data->PF_PathCleanupSegLength(&g_masks, path, 0, &prep), PF_Err_NONE);
    EXPECT_EQ(query->PF_CheckinPath(&g_masks, squareId, 0, path), PF_Err_NONE);
}

}  // namespace
