#include <string>

#include <gtest/gtest.h>

#include "host/module_library.h"

TEST(ModuleLibraryTest, LoadsAModuleAndFindsOnlyItsExports) {
    ModuleLibrary module(QUORVEL_SAMPLE_MODULE_PATH);
    ASSERT_TRUE(module.Loaded()) << module.Error();
    EXPECT_TRUE(module.Error().empty());

    using Answer = int(int);
    Answer* answer = module.Find<Answer>("QuorvelSampleAnswer");
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(20), 41);
    EXPECT_EQ(module.Find<Answer>("QuorvelSampleQuestion"), nullptr);
    EXPECT_EQ(module.Find<Answer>(""), nullptr);
}

TEST(ModuleLibraryTest, AMissingFileIsReportedAndFindsNothing) {
    const std::string path = std::string(QUORVEL_SAMPLE_MODULE_PATH) + ".missing";
    ModuleLibrary module(path);
    EXPECT_FALSE(module.Loaded());
    EXPECT_FALSE(module.Error().empty());
    EXPECT_EQ(module.Find<void()>("QuorvelSampleAnswer"), nullptr);
}
