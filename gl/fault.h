#pragma once

#include <cstdint>

namespace AESDK_OpenGL {

// The OpenGL layer's failure: a bare code, thrown by value. No handler names it; the command
// boundaries turn it into the host's out-of-memory error.
class AESDK_OpenGL_Fault {
  public:
    explicit AESDK_OpenGL_Fault(std::int32_t faultCode) : code(faultCode) {}

    std::int32_t code;
};

// Window, pixel format or context could not be made, made current or shared.
constexpr std::int32_t kFaultWindowOrContext = 1;
// A framebuffer was incomplete after a texture was attached.
constexpr std::int32_t kFaultIncompleteFramebuffer = 3;
// A bad texture name for a sampler, a shader that did not compile or a program that did not link.
constexpr std::int32_t kFaultTextureOrShader = 6;

}  // namespace AESDK_OpenGL
