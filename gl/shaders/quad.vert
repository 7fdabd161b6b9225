#version 330

// Full-frame quad vertex shader: corners in pixels to clip space, texture coordinates as they
// are.

uniform mat4 ModelviewProjection;

in vec4 Position;
in vec2 UVs;

out vec4 out_pos;
out vec2 out_uvs;

void main()
{
    out_pos = ModelviewProjection * Position;
    gl_Position = out_pos;
    out_uvs = UVs;
}
