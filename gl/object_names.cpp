#include "gl/object_names.h"

#include <glbinding/gl/gl.h>

namespace AESDK_OpenGL {

using namespace gl;

void DeleteTextureName(GLuint& name) {
    if (name != 0) {
        glDeleteTextures(1, &name);
        name = 0;
    }
}

void DeleteBufferName(GLuint& name) {
    if (name != 0) {
        glDeleteBuffers(1, &name);
        name = 0;
    }
}

void DeleteVertexArrayName(GLuint& name) {
    if (name != 0) {
        glDeleteVertexArrays(1, &name);
        name = 0;
    }
}

void DeleteFramebufferName(GLuint& name) {
    if (name != 0) {
        glDeleteFramebuffers(1, &name);
        name = 0;
    }
}

void DeleteProgramName(GLuint& name) {
    if (name != 0) {
        glDeleteProgram(name);
        name = 0;
    }
}

}  // namespace AESDK_OpenGL
