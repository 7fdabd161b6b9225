// Each GLSL source file is valid GLSL 330 for glslangValidator (Debian's glslang-tools), a
// program of the build machine.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "gl/shader_sources.h"

namespace {

const std::string kShaderDirectory = std::string(QUORVEL_SOURCE_DIR) + "/gl/shaders/";

TEST(ShaderSources, GlslangValidatorAcceptsEveryShader) {
    const std::string validator = QUORVEL_GLSLANG_VALIDATOR;
    if (validator.empty()) {
        GTEST_SKIP() << "glslangValidator is not installed";
    }
    for (int index = 0; index < AESDK_OpenGL::kEmbeddedShaderCount; ++index) {
        const std::string file = kShaderDirectory + AESDK_OpenGL::kEmbeddedShaders[index].fileName;
        SCOPED_TRACE(file);
        const std::string command = "\"" + validator + "\" \"" + file + "\" 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string output;
        char buffer[256];
        while (std::fgets(buffer, sizeof(buffer), pipe) != nullptr) {
            output += buffer;
        }
        EXPECT_EQ(pclose(pipe), 0) << output;
    }
}

}  // namespace
