#include "gl/shader_program_table.h"

#include "gl/shader_sources.h"

namespace AESDK_OpenGL {
namespace {

// Indexed by VertexAttribute.
const char* const kVertexAttributeNames[kVertexAttributeCount] = {
    "Position", "Normal", "MeshUVs", "OutputUV",   "ScreenNoiseUV",
    "UVs",      "UVs1",   "UVs2",    "StripIndex",
};

}  // namespace

const std::vector<ShaderProgramSource>& ShaderProgramSources() {
    static const std::vector<int> meshAttributes = {
        VertexAttribute_Position, VertexAttribute_Normal,        VertexAttribute_MeshUVs,
        VertexAttribute_OutputUV, VertexAttribute_ScreenNoiseUV, VertexAttribute_UVs1,
        VertexAttribute_UVs2,     VertexAttribute_StripIndex,
    };
    static const std::vector<int> quadAttributes = {VertexAttribute_Position, VertexAttribute_UVs};
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
    return location >= 0 && location < kVertexAttributeCount ? kVertexAttributeNames[location]
                                                             : nullptr;
}

}  // namespace AESDK_OpenGL
