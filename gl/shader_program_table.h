#pragma once

#include <glbinding/gl/types.h>

#include <array>
#include <vector>

#include "gl/gl_object.h"

// The program slots of a render data. The numbering has gaps: slots 3 and 5 are never built.
enum ShaderSlot : int {
    ShaderSlot_Distortion = 0,
    ShaderSlot_Strips = 1,
    ShaderSlot_InputConversion = 2,
    ShaderSlot_Copy = 4,
    ShaderSlot_OutputConversion = 6,
};

constexpr int kShaderSlotCount = 7;

using ShaderProgramTable = std::array<AESDK_OpenGL::GlProgram, kShaderSlotCount>;

// The vertex attribute locations that the programs bind by name; the quad's and the mesh's
// vertex layouts use the same numbers.
enum VertexAttribute : gl::GLuint {
    VertexAttribute_Position = 0,
    VertexAttribute_Normal = 1,
    VertexAttribute_MeshUVs = 2,
    VertexAttribute_OutputUV = 3,
    VertexAttribute_ScreenNoiseUV = 4,
    VertexAttribute_UVs = 5,
    VertexAttribute_UVs1 = 6,
    VertexAttribute_UVs2 = 7,
    VertexAttribute_StripIndex = 8,
};

constexpr int kVertexAttributeCount = 9;

namespace AESDK_OpenGL {

// What one slot is built from: the GLSL sources and the attribute locations bound by name.
struct ShaderProgramSource {
    ShaderSlot slot;
    const char* vertexSource;
    const char* fragmentSource;
    std::vector<int> attributeLocations;
};

// The programs in the order they are built.
const std::vector<ShaderProgramSource>& ShaderProgramSources();

// The attribute name bound at a VertexAttribute location, null for any other number.
const char* VertexAttributeName(int location);

}  // namespace AESDK_OpenGL
