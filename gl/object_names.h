#pragma once

#include <glbinding/gl/types.h>

namespace AESDK_OpenGL {

// Each deletes the object behind a name that is not 0, in the current context, and sets the
// name to 0.
void DeleteTextureName(gl::GLuint& name);
void DeleteBufferName(gl::GLuint& name);
void DeleteVertexArrayName(gl::GLuint& name);
void DeleteFramebufferName(gl::GLuint& name);
void DeleteProgramName(gl::GLuint& name);

}  // namespace AESDK_OpenGL
