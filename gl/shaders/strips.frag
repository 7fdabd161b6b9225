#version 330

// Strips fragment shader: the wireframe preview colours alternate from strip to strip.

uniform vec4 color1;
uniform vec4 color2;

in float fragStripIndex;

out vec4 colourOut;

void main()
{
    // The small offset keeps an index that arrives as 2.9999 in strip 3. Parity by the low
    // bit, since % is undefined for negative operands.
    int strip = int(fragStripIndex + 0.1);
    colourOut = (strip & 1) == 0 ? color1 : color2;
}
