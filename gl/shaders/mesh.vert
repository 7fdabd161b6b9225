#version 330

// Mesh vertex shader: places each mesh vertex in clip space and hands every attribute on to
// the fragment shaders unchanged.

uniform mat4 ModelviewProjection;

in vec4 Position;
in vec2 Normal;
in vec2 MeshUVs;
in vec2 OutputUV;
in vec2 ScreenNoiseUV;
in vec2 UVs1;
in vec2 UVs2;
in float StripIndex;

out vec4 out_pos;
out vec2 fragNormal;
out vec2 fragMeshUVs;
out vec2 fragOutputUV;
out vec2 fragScreenNoiseUV;
out vec2 fragUVs1;
out vec2 fragUVs2;
out float fragStripIndex;

void main()
{
    out_pos = ModelviewProjection * Position;
    gl_Position = out_pos;
    fragNormal = Normal;
    fragMeshUVs = MeshUVs;
    fragOutputUV = OutputUV;
    fragScreenNoiseUV = ScreenNoiseUV;
    fragUVs1 = UVs1;
    fragUVs2 = UVs2;
    fragStripIndex = StripIndex;
}
