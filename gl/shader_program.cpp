#include "gl/shader_program.h"

#include <glbinding/gl/gl.h>

#include "gl/shader_program_table.h"
#include "shell/toolkit/errors.h"

namespace AESDK_OpenGL {

using namespace gl;

namespace {

constexpr GLuint kInvalidTextureName = 0xFFFFFFFFu;

// A compiled shader; OpenGL keeps it while a program holds it.
GlShader CompileShader(GLenum type, const char* source) {
    GlShader shader = GlShader::Create(type);
    glShaderSource(shader.Name(), 1, &source, nullptr);
    glCompileShader(shader.Name());
    GLint status = 0;
    glGetShaderiv(shader.Name(), GL_COMPILE_STATUS, &status);
    if (status == 0) {
        throw AESDK_OpenGL_Fault(kFaultTextureOrShader);
    }
    return shader;
}

}  // namespace

GlProgram BuildShaderProgram(const char* vertexSource, const char* fragmentSource,
                             const std::vector<int>& attributeLocations) {
    const GlShader vertexShader = CompileShader(GL_VERTEX_SHADER, vertexSource);
    const GlShader fragmentShader = CompileShader(GL_FRAGMENT_SHADER, fragmentSource);
    GlProgram program = GlProgram::Create();
    glAttachShader(program.Name(), vertexShader.Name());
    glAttachShader(program.Name(), fragmentShader.Name());
    for (const int location : attributeLocations) {
        if (const char* name = VertexAttributeName(location)) {
            glBindAttribLocation(program.Name(), static_cast<GLuint>(location), name);
        }
    }
    glLinkProgram(program.Name());
    GLint status = 0;
    glGetProgramiv(program.Name(), GL_LINK_STATUS, &status);
    glDetachShader(program.Name(), vertexShader.Name());
    glDetachShader(program.Name(), fragmentShader.Name());
    if (status == 0) {
        throw AESDK_OpenGL_Fault(kFaultTextureOrShader);
    }
    return program;
}

void BindTextureToSampler(GLuint program, GLuint texture, const std::string& samplerName,
                          int unit) {
    if (texture == kInvalidTextureName) {
        throw AESDK_OpenGL_Fault(kFaultTextureOrShader);
    }
    glActiveTexture(static_cast<GLenum>(static_cast<unsigned int>(GL_TEXTURE0) + unit));
    glBindTexture(GL_TEXTURE_2D, texture);
    glUniform1i(glGetUniformLocation(program, samplerName.c_str()), unit);
}

}  // namespace AESDK_OpenGL
