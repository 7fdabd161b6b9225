#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ramp/ramp_text.h"
#include "ramp/scoped_ramp.h"

namespace {

ScopedRamp NewDefault() {
    return ScopedRamp(RampMode_All, RampInterpolation_Sin, {{0.0f, 1.0f}, {1.0f, 1.0f}});
}

// Reads text from a buffer exactly as long as the given count, with no NUL after it, so that
// any read past the count is caught by the sanitizers.
PF_Err Read(const std::string& text, Ramp* ramp) {
    const std::vector<char> exact(text.begin(), text.end());
    return ReadRampText(exact.data(), exact.size(), ramp);
}

TEST(RampTextTest, PrintsTheOneLineForm) {
    EXPECT_EQ(RampToText(*NewDefault()), "Ramp all  sin  t 0 v 1 t 1 v 1");
    EXPECT_EQ(RampToText(*ScopedRamp(2, RampInterpolation_Sin, {{0.0f, 1.0f}})),
              "Ramp sin  t 0 v 1");
    EXPECT_EQ(RampToText(*ScopedRamp(RampMode_WithoutSin, 4, {{0.5f, 0.25f}})),
              "Ramp withoutSin  t 0.5 v 0.25");
    EXPECT_EQ(RampToText(*ScopedRamp(-1, -1)), "Ramp");
    EXPECT_EQ(RampToText(*ScopedRamp(RampMode_All, RampInterpolation_Bezier)), "Ramp all  bezier ");
    EXPECT_EQ(RampToText(*ScopedRamp(RampMode_All, RampInterpolation_Line,
                                     {{0.1f, 0.33f}, {0.00001f, -0.25f}, {123456789.0f, 2.5e-7f}})),
              "Ramp all  line  t 1e-05 v -0.25 t 0.1 v 0.33 t 1.23457e+08 v 2.5e-07");
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(RampToText(*ScopedRamp(RampMode_All, RampInterpolation_Step,
                                     {{-inf, std::numeric_limits<float>::max()}, {inf, -inf}})),
              "Ramp all  step  t -inf v 3.40282e+38 t inf v -inf");
}

TEST(RampTextTest, ReadsBackWhatItPrints) {
    std::mt19937 random(77);
    for (int trial = 0; trial < 500; ++trial) {
        ScopedRamp original(int32_t(random() % 2), int32_t(random() % 4));
        const int count = int(random() % 12);
        for (int i = 0; i < count; ++i) {
            const float t = float(random() % 100001) / 100000.0f;
            (*original->points)[t] =
                std::ldexp(float(random() % 2000001) / 1000000.0f - 1.0f, int(random() % 40) - 30);
        }
        const std::string text = RampToText(*original);
        ScopedRamp scanned = NewDefault();
        ASSERT_EQ(Read(text, &*scanned), PF_Err_NONE) << text;
        EXPECT_EQ(scanned->mode, original->mode);
        EXPECT_EQ(scanned->interpolation, original->interpolation);
        ASSERT_EQ(scanned->points->size(), original->points->size()) << text;
        for (auto a = original->points->begin(), b = scanned->points->begin();
             a != original->points->end(); ++a, ++b) {
            EXPECT_NEAR(b->first, a->first, 5e-6 * std::fabs(a->first)) << text;
            EXPECT_NEAR(b->second, a->second, 5e-6 * std::fabs(a->second)) << text;
        }
        EXPECT_EQ(RampToText(*scanned), text);
    }
    // Infinite values and values that are not numbers come back too; an empty curve stays empty;
    // a mode or interpolation that has no word comes back as the one the ramp had.
    const std::pair<const char*, const char*> texts[] = {
        {"Ramp all  step  t -1 v nan t 0 v inf t 2 v -nan", "Ramp all  step  t -1 v nan t 0 v inf t 2 v -nan"},
        {"Ramp withoutSin  bezier ", "Ramp withoutSin  bezier "},
        {"Ramp sin  t 0 v 1", "Ramp all  sin  t 0 v 1"},
        {"Ramp withoutSin  t 0 v 1", "Ramp withoutSin  sin  t 0 v 1"},
        {"Ramp", "Ramp all  sin "},
    };
    for (const auto& [text, printed] : texts) {
        ScopedRamp scanned = NewDefault();
        ASSERT_EQ(Read(text, &*scanned), PF_Err_NONE) << text;
        EXPECT_EQ(RampToText(*scanned), printed);
    }
}

TEST(RampTextTest, ReadsWithinTheByteCountOnly) {
    const std::string text = "Ramp withoutSin  line  t 0.25 v 0.5 t 0.75 v 0.125";
    // A count that ends the text early: the words beyond it are not seen.
    ScopedRamp shorter = NewDefault();
    ASSERT_EQ(ReadRampText(text.c_str(), text.size() - std::strlen(" t 0.75 v 0.125"), &*shorter),
              PF_Err_NONE);
    EXPECT_EQ(*shorter->points, (RampPoints{{0.25f, 0.5f}}));
    // A count that cuts a number: the part inside the count is the number.
    ScopedRamp cut = NewDefault();
    ASSERT_EQ(ReadRampText(text.c_str(), text.size() - 2, &*cut), PF_Err_NONE);
    EXPECT_EQ(cut->points->at(0.75f), 0.1f);
    // A NUL inside the count ends the text; white space of every kind separates words.
    const std::string withNul = std::string("Ramp\tall\n\nstep\r\n t 0 v 0.5 ") + '\0' + "garbage";
    ScopedRamp nul = NewDefault();
    ASSERT_EQ(Read(withNul, &*nul), PF_Err_NONE);
    EXPECT_EQ(nul->interpolation, RampInterpolation_Step);
    EXPECT_EQ(*nul->points, (RampPoints{{0.0f, 0.5f}}));
    // Keys in any order end up sorted; a repeated key keeps the later value.
    ScopedRamp unordered = NewDefault();
    ASSERT_EQ(Read("Ramp all line t 0.5 v 1 t 0.25 v 0 t 0.5 v 0.75", &*unordered), PF_Err_NONE);
    EXPECT_EQ(*unordered->points, (RampPoints{{0.25f, 0.0f}, {0.5f, 0.75f}}));
}

TEST(RampTextTest, TextItDoesNotTakeLeavesTheRampAsItWas) {
    const char* const rejected[] = {
        "",
        "ramp all  sin ",
        "Ramp cubic t 0 v 1",
        "Ramp all  sin  t 0 v",
        "Ramp all  sin  t 0 v 1 t",
        "Ramp all  sin  t 0 1",
        "Ramp all  sin  v 1 t 0",
        "Ramp all  sin  t nan v 1",
        "Ramp all  sin  t inf v 1",
        "Ramp all  sin  t 0 v 1 t -inf v 1",
        "Ramp all  sin  t 0 v 1e39",
        "Ramp all  sin  t 0 v 1e-50",
        "Ramp all  sin  t +1 v 1",
        "Ramp all  sin  t 0x1 v 1",
        "Ramp all  sin  t 0.5.5 v 1",
        "Ramp all  sin  t 0 v 1 extra",
        "Ramp sin all t 0 v 1",
    };
    for (const char* text : rejected) {
        ScopedRamp ramp(RampMode_WithoutSin, RampInterpolation_Bezier,
                        {{0.0f, 0.5f}, {1.0f, 0.5f}});
        EXPECT_EQ(Read(text, &*ramp), PF_Err_UNRECOGNIZED_PARAM_TYPE) << text;
        EXPECT_EQ(ramp->mode, RampMode_WithoutSin) << text;
        EXPECT_EQ(ramp->interpolation, RampInterpolation_Bezier) << text;
        EXPECT_EQ(*ramp->points, (RampPoints{{0.0f, 0.5f}, {1.0f, 0.5f}})) << text;
    }
    ScopedRamp ramp = NewDefault();
    EXPECT_EQ(ReadRampText(nullptr, 10, &*ramp), PF_Err_UNRECOGNIZED_PARAM_TYPE);
    EXPECT_EQ(ReadRampText("Ramp all  sin ", 0, &*ramp), PF_Err_UNRECOGNIZED_PARAM_TYPE);
    EXPECT_EQ(ramp->points->size(), 2u);
}

}  // namespace
