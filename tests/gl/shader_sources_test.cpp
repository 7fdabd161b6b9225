// The GLSL sources: each embedded text is its file's, and declares GLSL 330.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "gl/shader_sources.h"

namespace {

TEST(ShaderSources, EmbeddedTextsAreTheFilesAndDeclareVersion330) {
    ASSERT_EQ(AESDK_OpenGL::kEmbeddedShaderCount, 7);
    for (int index = 0; index < AESDK_OpenGL::kEmbeddedShaderCount; ++index) {
        const AESDK_OpenGL::EmbeddedShader& shader = AESDK_OpenGL::kEmbeddedShaders[index];
        std::ifstream file(std::string(QUORVEL_SOURCE_DIR) + "/gl/shaders/" + shader.fileName,
                           std::ios::binary);
        std::ostringstream content;
        content << file.rdbuf();
        EXPECT_EQ(shader.source, content.str()) << shader.fileName;
        EXPECT_EQ(std::string(shader.source).rfind("#version 330\n", 0), 0u) << shader.fileName;
    }
}

}  // namespace
