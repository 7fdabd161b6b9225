#pragma once

// The GLSL sources of gl/shaders/, embedded into the module when it is built.

namespace AESDK_OpenGL {

extern const char kMeshVertexShader[];
extern const char kDistortionFragmentShader[];
extern const char kStripsFragmentShader[];
extern const char kQuadVertexShader[];
extern const char kInputConversionFragmentShader[];
extern const char kCopyFragmentShader[];
extern const char kOutputConversionFragmentShader[];

// Each embedded source with the name of the file it was made from.
struct EmbeddedShader {
    const char* fileName;
    const char* source;
};

extern const EmbeddedShader kEmbeddedShaders[];
extern const int kEmbeddedShaderCount;

}  // namespace AESDK_OpenGL
