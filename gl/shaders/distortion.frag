#version 330

// Main effect fragment shader: displaces the texture coordinate of each mesh fragment by
// gradient noise shaped by two ramps, samples the layer with its own filters, cross-fades two
// animation positions, fades the result by position and by two opacity ramps and composes it
// with the background. Samples of inputTexture hold the host's A, R, G, B in r, g, b, a and
// are reordered with .gbar; the output is premultiplied RGBA.

#define NoiseCoordinates_ScreenSpace 1
#define NoiseCoordinates_Local 2

const int BackgroundMode_None = 1;
const int BackgroundMode_Normal = 2;
const int BackgroundMode_Blend = 3;
const int TextureFilter_Nearest = 1;
const int TextureFilter_Linear = 2;

uniform sampler2D inputTexture;
uniform sampler2D distortionAlongRampTexture;
uniform sampler2D distortionAcrossRampTexture;
uniform sampler2D acrossRampTexture;
uniform sampler2D alongRampTexture;
uniform float multiplier16bit;

uniform vec2 distortionAlongAcrossFactors;
uniform int distortionNoiseCoordinates;
uniform float distortionNoiseAmplitude;
uniform float distortionNoiseScale;
uniform float distortionNoiseScaleX;
uniform float distortionNoiseScaleY;
uniform float distortionNoiseOffsetX;
uniform float distortionNoiseOffsetY;
uniform float distortionNoiseEvolution;
uniform float distortionNoiseInnerOffset;
uniform float distortionNoiseSeed;
uniform float distortionAlongRampOffset;
uniform float distortionAlongRampScale;
uniform int distortionAlongRampLoop;
uniform float distortionAcrossRampOffset;
uniform float distortionAcrossRampScale;
uniform int distortionAcrossRampLoop;

uniform float opacityAlongRampOffset;
uniform float opacityAlongRampScale;
uniform int opacityAlongRampLoop;
uniform float opacityAcrossRampOffset;
uniform float opacityAcrossRampScale;
uniform int opacityAcrossRampLoop;

uniform int animBlending;
uniform float animBlendFactor;
uniform int textureNicer;
uniform int backgroundBlendMode;
uniform int textureFilter;

in vec2 fragNormal;
in vec2 fragMeshUVs;
in vec2 fragOutputUV;
in vec2 fragScreenNoiseUV;
in vec2 fragUVs1;
in vec2 fragUVs2;

out vec4 colourOut;

// A lattice hash: integer coordinates to a vector in [-1, 1].
vec3 hash33(vec3 p)
{
    const uvec3 multipliers = uvec3(1597334673U, 3812015801U, 2798796415U);
    uvec3 q = uvec3(ivec3(p)) * multipliers;
    q = (q.x ^ q.y ^ q.z) * multipliers;
    return -1.0 + 2.0 * vec3(q) * (1.0 / float(0xffffffffU));
}

// Gradient noise. The constant bias makes the value at every lattice point 0.05.
float perlinNoise(vec3 p)
{
    vec3 pi = floor(p);
    vec3 pf = p - pi;
    vec3 w = pf * pf * (3.0 - 2.0 * pf);

    float n000 = dot(pf - vec3(0.0, 0.0, 0.0), hash33(pi + vec3(0.0, 0.0, 0.0)));
    float n100 = dot(pf - vec3(1.0, 0.0, 0.0), hash33(pi + vec3(1.0, 0.0, 0.0)));
    float n010 = dot(pf - vec3(0.0, 1.0, 0.0), hash33(pi + vec3(0.0, 1.0, 0.0)));
    float n110 = dot(pf - vec3(1.0, 1.0, 0.0), hash33(pi + vec3(1.0, 1.0, 0.0)));
    float n001 = dot(pf - vec3(0.0, 0.0, 1.0), hash33(pi + vec3(0.0, 0.0, 1.0)));
    float n101 = dot(pf - vec3(1.0, 0.0, 1.0), hash33(pi + vec3(1.0, 0.0, 1.0)));
    float n011 = dot(pf - vec3(0.0, 1.0, 1.0), hash33(pi + vec3(0.0, 1.0, 1.0)));
    float n111 = dot(pf - vec3(1.0, 1.0, 1.0), hash33(pi + vec3(1.0, 1.0, 1.0)));

    // Along x first, then the pairs of the same y along z, then the two results along y.
    float y0z0 = mix(n000, n100, w.x);
    float y0z1 = mix(n001, n101, w.x);
    float y1z0 = mix(n010, n110, w.x);
    float y1z1 = mix(n011, n111, w.x);
    float y0 = mix(y0z0, y0z1, w.z);
    float y1 = mix(y1z0, y1z1, w.z);
    return mix(y0, y1, w.y) + 0.05;
}

// A looping ramp parameter, wrapped into [0, 1).
float wrapRamp(float t)
{
    return fract(fract(t) + 1.0);
}

float evalDistortion(vec2 screenUV, vec2 meshUV, float evolution, float coordOfs)
{
    float acrossT = meshUV.x;
    float alongT = meshUV.y;

    float noise = 0.0;
    if (distortionNoiseCoordinates == NoiseCoordinates_ScreenSpace ||
        distortionNoiseCoordinates == NoiseCoordinates_Local) {
        vec2 coords = distortionNoiseCoordinates == NoiseCoordinates_ScreenSpace
                          ? screenUV
                          : vec2(acrossT, alongT);
        vec3 p = vec3(distortionNoiseScaleX * distortionNoiseScale *
                              (coords.x + coords.y * distortionNoiseInnerOffset) +
                          distortionNoiseOffsetX,
                      distortionNoiseScaleY * distortionNoiseScale * coords.y +
                          distortionNoiseOffsetY,
                      evolution + distortionNoiseSeed + coordOfs);
        noise = distortionNoiseAmplitude * perlinNoise(p);
        // Coordinates beyond the float range give noise that is not a number: such a point is
        // not displaced.
        if (isnan(noise) || isinf(noise)) {
            noise = 0.0;
        }
    }

    float alongRampT = alongT * distortionAlongRampScale + distortionAlongRampOffset;
    if (distortionAlongRampLoop != 0) {
        alongRampT = wrapRamp(alongRampT);
    }
    float acrossRampT = acrossT * distortionAcrossRampScale + distortionAcrossRampOffset;
    if (distortionAcrossRampLoop != 0) {
        acrossRampT = wrapRamp(acrossRampT);
    }
    return noise * texture(distortionAlongRampTexture, vec2(alongRampT, 0.5)).r *
           texture(distortionAcrossRampTexture, vec2(acrossRampT, 0.5)).r;
}

// 1 for 0 <= v < 1, else 0.
float insideUnit(float v)
{
    return step(0.0, v) * (1.0 - step(1.0, v));
}

float getAttenuation(vec2 uv, vec2 relUV)
{
    float alpha = insideUnit(relUV.x) * insideUnit(relUV.y) * insideUnit(uv.x) * insideUnit(uv.y);

    float acrossRampT = relUV.x * opacityAcrossRampScale + opacityAcrossRampOffset;
    if (opacityAcrossRampLoop != 0) {
        acrossRampT = wrapRamp(acrossRampT);
    }
    alpha *= texture(acrossRampTexture, vec2(acrossRampT, 0.5)).r;

    float alongRampT = relUV.y * opacityAlongRampScale + opacityAlongRampOffset;
    if (opacityAlongRampLoop != 0) {
        alongRampT = wrapRamp(alongRampT);
    }
    alpha *= texture(alongRampTexture, vec2(alongRampT, 0.5)).r;

    return clamp(alpha, 0.0, 1.0);
}

// A mix that ignores the colour of a fully transparent side.
vec4 mixPixels(vec4 x, vec4 y, float a)
{
    vec3 xCol = x.a <= 0.0 ? y.rgb : x.rgb;
    vec3 yCol = y.a <= 0.0 ? x.rgb : y.rgb;
    return mix(vec4(xCol, x.a), vec4(yCol, y.a), a);
}

vec4 textureNearest(sampler2D sam, vec2 uv)
{
    vec2 size = vec2(textureSize(sam, 0));
    return texture(sam, (floor(uv * size) + 0.5) / size).gbar * multiplier16bit;
}

vec4 textureLinear(sampler2D sam, vec2 uv)
{
    vec2 size = vec2(textureSize(sam, 0));
    vec2 index = uv * size - 0.5;
    vec2 base = floor(index);
    vec2 part = fract(index);
    vec4 c00 = texture(sam, (base + vec2(0.5, 0.5)) / size).gbar;
    vec4 c10 = texture(sam, (base + vec2(1.5, 0.5)) / size).gbar;
    vec4 c01 = texture(sam, (base + vec2(0.5, 1.5)) / size).gbar;
    vec4 c11 = texture(sam, (base + vec2(1.5, 1.5)) / size).gbar;
    return mixPixels(mixPixels(c00, c10, part.x), mixPixels(c01, c11, part.x), part.y) *
           multiplier16bit;
}

vec4 textureWithFilter(sampler2D sam, vec2 uv)
{
    if (textureFilter == TextureFilter_Nearest) {
        return textureNearest(sam, uv);
    }
    if (textureFilter == TextureFilter_Linear) {
        return textureLinear(sam, uv);
    }
    return vec4(0.0);
}

// Optionally warps the coordinate inside each texel cell with a smooth step; the cells are
// those of the texture's width on both axes.
vec4 textureNice(sampler2D sam, vec2 uv)
{
    if (textureNicer == 0) {
        return textureWithFilter(sam, uv);
    }
    float r = float(textureSize(sam, 0).x);
    vec2 p = uv * r + 0.5;
    vec2 i = floor(p);
    vec2 f = fract(p);
    p = i + f * f * (3.0 - 2.0 * f);
    return textureWithFilter(sam, (p - 0.5) / r);
}

void main()
{
    // A degenerate normal has no direction to displace along.
    vec2 norm = dot(fragNormal, fragNormal) > 0.0 ? normalize(fragNormal) : vec2(0.0);
    float d0 = evalDistortion(fragScreenNoiseUV, fragMeshUVs, distortionNoiseEvolution, 0.0);
    // The across displacement reads the same noise field one unit further along its third axis.
    float d1 = evalDistortion(fragScreenNoiseUV, fragMeshUVs, distortionNoiseEvolution, 1.0);
    vec2 distortion = distortionAlongAcrossFactors.x * norm * d0 +
                      distortionAlongAcrossFactors.y * vec2(-norm.y, norm.x) * d1;

    vec2 texUV = fragUVs1 + distortion;
    vec4 colour = textureNice(inputTexture, texUV);
    if (animBlending == 1) {
        colour = mixPixels(colour, textureNice(inputTexture, fragUVs2 + distortion),
                           animBlendFactor);
    }
    colour.a *= getAttenuation(texUV, fragMeshUVs);

    float crop = 1.0 - step(fragMeshUVs.y, 0.0);
    if (backgroundBlendMode == BackgroundMode_None || backgroundBlendMode == BackgroundMode_Blend) {
        colour.a *= crop;
    } else if (backgroundBlendMode == BackgroundMode_Normal) {
        vec4 background = texture(inputTexture, fragOutputUV).gbar * multiplier16bit;
        colour = mix(background, colour, crop);
    }

    colour.a = clamp(colour.a, 0.0, 1.0);
    colour.rgb *= colour.a;
    colourOut = colour;
}
