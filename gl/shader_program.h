#pragma once

#include <glbinding/gl/types.h>

#include <string>
#include <vector>

#include "gl/gl_object.h"

namespace AESDK_OpenGL {

// Compiles both sources, binds each listed VertexAttribute location to its name (other
// numbers are skipped) and links. Throws AESDK_OpenGL_Fault 6 on a compile or link failure,
// leaving no shader or program object behind.
GlProgram BuildShaderProgram(const char* vertexSource, const char* fragmentSource,
                             const std::vector<int>& attributeLocations);

// Binds `texture` on texture unit `unit` and points the program's sampler there; the program
// is in use. The all-ones name throws AESDK_OpenGL_Fault 6 before any OpenGL call.
void BindTextureToSampler(gl::GLuint program, gl::GLuint texture, const std::string& samplerName,
                          int unit);

}  // namespace AESDK_OpenGL
