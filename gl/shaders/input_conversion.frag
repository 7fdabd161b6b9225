#version 330

// Host pixels (A, R, G, B in the texture's r, g, b, a) to premultiplied RGBA.

uniform sampler2D inputTexture;
uniform float multiplier16bit;

in vec2 out_uvs;

out vec4 colourOut;

void main()
{
    vec4 c = texture(inputTexture, out_uvs).gbar * multiplier16bit;
    c.rgb *= c.a;
    colourOut = c;
}
