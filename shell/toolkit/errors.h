#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "host_api/effect.h"

// Every failure the module raises. Code() is what the host is given for it, what() its text.
// Thrown by value and caught by reference; ConvertFailures (failure_conversion.h) turns it into
// the command's result, and posts the text of an Exception only.
class HostFailure : public std::runtime_error {
  public:
    HostFailure(const HostFailure&) = default;
    HostFailure& operator=(const HostFailure&) = default;
    ~HostFailure() override;

    virtual PF_Err Code() const noexcept = 0;

  protected:
    explicit HostFailure(const std::string& message) : std::runtime_error(message) {}
};

// A host code that every catch passes on as it is, the sequence handlers' included; no text.
class HostCode : public HostFailure {
  public:
    explicit HostCode(PF_Err hostCode) : HostFailure(std::string()), code(hostCode) {}
    PF_Err Code() const noexcept override;

    PF_Err code;
};

// A host error code with an optional message for the user, which the entry point posts when
// it is not empty. The sequence handlers' guard and a frame's OpenGL block give
// PF_Err_OUT_OF_MEMORY for it instead.
class Exception : public HostFailure {
  public:
    explicit Exception(int code) : HostFailure(std::string()), err(code) {}
    Exception(int code, const std::string& message) : HostFailure(message), err(code) {}
    PF_Err Code() const noexcept override;

    A_long err;
};

// A failure that the host is told of as PF_Err_OUT_OF_MEMORY, whatever went wrong. cause keeps
// the failing call's own code and what() any text, for tests and diagnostics; nothing is
// posted.
class ReportedAsOutOfMemory : public HostFailure {
  public:
    explicit ReportedAsOutOfMemory(A_long causeCode)
        : HostFailure(std::string()), cause(causeCode) {}
    ReportedAsOutOfMemory(A_long causeCode, const std::string& message)
        : HostFailure(message), cause(causeCode) {}
    PF_Err Code() const noexcept override;

    A_long cause;
};

namespace AESDK_OpenGL {

// The OpenGL layer's failure: one of the fault codes below.
class AESDK_OpenGL_Fault : public ReportedAsOutOfMemory {
  public:
    explicit AESDK_OpenGL_Fault(std::int32_t faultCode)
        : ReportedAsOutOfMemory(faultCode), code(faultCode) {}

    std::int32_t code;
};

// Window, pixel format or context could not be made, made current or shared.
constexpr std::int32_t kFaultWindowOrContext = 1;
// A framebuffer was incomplete after a texture was attached.
constexpr std::int32_t kFaultIncompleteFramebuffer = 3;
// A bad texture name for a sampler, a shader that did not compile or a program that did not link.
constexpr std::int32_t kFaultTextureOrShader = 6;

}  // namespace AESDK_OpenGL

// A Drawbot call that failed while a pen or path wrapper was being made.
class DRAWBOT_Exception : public ReportedAsOutOfMemory {
  public:
    explicit DRAWBOT_Exception(A_long code) : ReportedAsOutOfMemory(code), err(code) {}

    // The non-zero code of the failed call.
    A_long err;
};
