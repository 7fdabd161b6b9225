#include "gl/framebuffer.h"

#include <glbinding/gl/gl.h>

#include "shell/toolkit/errors.h"

namespace AESDK_OpenGL {

using namespace gl;

namespace {

struct FramebufferStatusName {
    GLenum status;
    const char* text;
};

const FramebufferStatusName kFramebufferStatusNames[] = {
    {GL_FRAMEBUFFER_COMPLETE, "OK"},
    {GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT, "Framebuffer incomplete, incomplete attachment!"},
    {GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT, "Framebuffer incomplete, missing attachment!"},
    {GL_FRAMEBUFFER_INCOMPLETE_DRAW_BUFFER, "Framebuffer incomplete, missing draw buffer!"},
    {GL_FRAMEBUFFER_INCOMPLETE_READ_BUFFER, "Framebuffer incomplete, missing read buffer!"},
    {GL_FRAMEBUFFER_UNSUPPORTED, "Unsupported framebuffer format!"},
};

}  // namespace

void AttachRenderTexture(AESDK_OpenGL_EffectRenderData& renderData, GLuint texture) {
    glBindFramebuffer(GL_FRAMEBUFFER, renderData.framebuffer.Name());
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    if (FramebufferStatusText() != "OK") {
        throw AESDK_OpenGL_Fault(kFaultIncompleteFramebuffer);
    }
}

std::string FramebufferStatusText() {
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    for (const FramebufferStatusName& name : kFramebufferStatusNames) {
        if (name.status == status) {
            return name.text;
        }
    }
    return "Unknown error!";
}

}  // namespace AESDK_OpenGL
