#include "gl/gl_object.h"

#include <glbinding/gl/gl.h>

namespace AESDK_OpenGL {

using namespace gl;

namespace {

// The kinds made and deleted by glGen*/glDelete* of a count of names, in GlKind's order.
struct CountedNameCalls {
    void (*generate)(GLsizei count, GLuint* names);
    void (*remove)(GLsizei count, const GLuint* names);
};

const CountedNameCalls kCountedNameCalls[] = {
    {glGenTextures, glDeleteTextures},
    {glGenBuffers, glDeleteBuffers},
    {glGenFramebuffers, glDeleteFramebuffers},
    {glGenVertexArrays, glDeleteVertexArrays},
};

const CountedNameCalls& CallsOf(GlKind kind) {
    return kCountedNameCalls[static_cast<int>(kind)];
}

}  // namespace

GLuint MakeGlName(GlKind kind, GLenum shaderType) {
    if (kind == GlKind::Shader) {
        return glCreateShader(shaderType);
    }
    if (kind == GlKind::Program) {
        return glCreateProgram();
    }
    GLuint name = 0;
    CallsOf(kind).generate(1, &name);
    return name;
}

void DeleteGlName(GlKind kind, GLuint name) {
    if (kind == GlKind::Shader) {
        glDeleteShader(name);
    } else if (kind == GlKind::Program) {
        glDeleteProgram(name);
    } else {
        CallsOf(kind).remove(1, &name);
    }
}

}  // namespace AESDK_OpenGL
