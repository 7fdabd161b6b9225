// The GLSL sources: each embedded text is its file's, and each file is valid GLSL 330 for
// glslangValidator (Debian's glslang-tools).

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "gl/shader_sources.h"

#ifdef _WIN32
#define popen _popen
#define pclose _pclose
#endif

namespace {

const std::string kShaderDirectory = std::string(QUORVEL_SOURCE_DIR) + "/gl/shaders/";

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

TEST(ShaderSources, EmbeddedTextsAreTheFilesAndDeclareVersion330) {
    ASSERT_EQ(AESDK_OpenGL::kEmbeddedShaderCount, 7);
    for (int index = 0; index < AESDK_OpenGL::kEmbeddedShaderCount; ++index) {
        const AESDK_OpenGL::EmbeddedShader& shader = AESDK_OpenGL::kEmbeddedShaders[index];
        SCOPED_TRACE(shader.fileName);
        EXPECT_EQ(std::string(shader.source), ReadFile(kShaderDirectory + shader.fileName));
        EXPECT_EQ(std::string(shader.source).rfind("#version 330\n", 0), 0u);
    }
}

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
