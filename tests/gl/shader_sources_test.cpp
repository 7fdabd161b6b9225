// The GLSL sources: each embedded text is its file's.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "gl/shader_sources.h"

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

}  // namespace
