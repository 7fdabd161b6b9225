#version 330

// Copies the texture; with linear filtering at half size it averages 2 x 2 blocks.

uniform sampler2D inputTexture;

in vec2 out_uvs;

out vec4 colourOut;

void main()
{
    colourOut = texture(inputTexture, out_uvs);
}
