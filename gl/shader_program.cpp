#include "gl/shader_program.h"

#include <glbinding/gl/gl.h>

#include "gl/shader_program_table.h"
#include "shell/toolkit/errors.h"

namespace AESDK_OpenGL {

using namespace gl;

namespace {

constexpr GLuint kInvalidTextureName = 0xFFFFFFFFu;

// One compiled shader, deleted with this object (OpenGL keeps it while a program holds it).
class CompiledShader {
  public:
    CompiledShader(GLenum type, const char* source) : name_(glCreateShader(type)) {
        glShaderSource(name_, 1, &source, nullptr);
        glCompileShader(name_);
        GLint status = 0;
        glGetShaderiv(name_, GL_COMPILE_STATUS, &status);
        if (status == 0) {
            glDeleteShader(name_);
            throw AESDK_OpenGL_Fault(kFaultTextureOrShader);
        }
    }
    ~CompiledShader() { glDeleteShader(name_); }
    CompiledShader(const CompiledShader&) = delete;
    CompiledShader& operator=(const CompiledShader&) = delete;

    GLuint Name() const { return name_; }

  private:
    GLuint name_;
};

}  // namespace

GLuint BuildShaderProgram(const char* vertexSource, const char* fragmentSource,
                          const std::vector<int>& attributeLocations) {
    const CompiledShader vertexShader(GL_VERTEX_SHADER, vertexSource);
    const CompiledShader fragmentShader(GL_FRAGMENT_SHADER, fragmentSource);
    const GLuint program = glCreateProgram();
    glAttachShader(program, vertexShader.Name());
    glAttachShader(program, fragmentShader.Name());
    for (const int location : attributeLocations) {
        if (const char* name = VertexAttributeName(location)) {
            glBindAttribLocation(program, static_cast<GLuint>(location), name);
        }
    }
    glLinkProgram(program);
    GLint status = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    glDetachShader(program, vertexShader.Name());
    glDetachShader(program, fragmentShader.Name());
    if (status == 0) {
        glDeleteProgram(program);
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
