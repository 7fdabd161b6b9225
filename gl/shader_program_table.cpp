#include "gl/shader_program_table.h"

#include "gl/shader_sources.h"

namespace AESDK_OpenGL {
namespace {

// The vertex attribute names by location; the vertex layouts of the quad and the mesh use
// the same numbers.
const char* const kVertexAttributeNames[] = {
    "Position", "Normal", "MeshUVs", "OutputUV",   "ScreenNoiseUV",
    "UVs",      "UVs1",   "UVs2",    "StripIndex",
};

}  // namespace

const std::vector<ShaderProgramSource>& ShaderProgramSources() {
    static const std::vector<int> meshAttributes = {0, 1, 2, 3, 4, 6, 7, 8};
    static const std::vector<int> quadAttributes = {0, 5};
    static const std::vector<ShaderProgramSource> sources = {
        {ShaderSlot_Distortion, kMeshVertexShader, kDistortionFragmentShader, meshAttributes},
        {ShaderSlot_Strips, kMeshVertexShader, kStripsFragmentShader, meshAttributes},
        {ShaderSlot_InputConversion, kQuadVertexShader, kInputConversionFragmentShader,
         quadAttributes},
        {ShaderSlot_Copy, kQuadVertexShader, kCopyFragmentShader, quadAttributes},
        {ShaderSlot_OutputConversion, kQuadVertexShader, kOutputConversionFragmentShader,
         quadAttributes},
    };
    return sources;
}

const char* VertexAttributeName(int location) {
    constexpr int count = sizeof(kVertexAttributeNames) / sizeof(kVertexAttributeNames[0]);
    return location >= 0 && location < count ? kVertexAttributeNames[location] : nullptr;
}

}  // namespace AESDK_OpenGL
