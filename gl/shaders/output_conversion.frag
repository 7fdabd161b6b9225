#version 330

// Premultiplied RGBA back to the host's A, R, G, B order and range.

uniform sampler2D inputTexture;
uniform float multiplier16bit;

in vec2 out_uvs;

out vec4 colourOut;

void main()
{
    vec4 t = texture(inputTexture, out_uvs);
    // Colours of nearly transparent pixels cannot be recovered reliably: they become
    // transparent black.
    if (t.a < 0.01) {
        t = vec4(0.0);
    } else {
        t.rgb /= t.a;
    }
    colourOut = vec4(t.a, t.r, t.g, t.b) / multiplier16bit;
}
