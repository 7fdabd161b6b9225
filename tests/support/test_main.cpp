#include <cstdio>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // LeakSanitizer ends the process without flushing stdout.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
