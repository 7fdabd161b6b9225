#pragma once

#include <glbinding/gl/types.h>

#include <string>

#include "gl/render_data.h"

namespace AESDK_OpenGL {

// Makes `texture` the colour target of the render data's framebuffer; throws
// AESDK_OpenGL_Fault 3 when the framebuffer is then not complete.
void AttachRenderTexture(AESDK_OpenGL_EffectRenderData& renderData, gl::GLuint texture);

// The status of the framebuffer bound to GL_FRAMEBUFFER, as the user is shown it: "OK" when
// complete.
std::string FramebufferStatusText();

}  // namespace AESDK_OpenGL
