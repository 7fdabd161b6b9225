#pragma once

#include <cstddef>
#include <cstdint>

#include "gl/shader_program_table.h"

// One vertex of the mesh vertex buffer: 15 floats, tightly packed. The byte offsets are
// part of the buffer format that the mesh programs read.
struct MeshVertex {
    float position[2];       // output pixels: point minus origin
    float normal[2];         // unit tangent toward increasing column
    float meshUVs[2];        // (row parameter, column parameter minus offset)
    float outputUV[2];       // position / frame size
    float screenNoiseUV[2];  // position x 5 / the host's frame size
    float uvs1[2];           // texture coordinate at the start of the animation window
    float uvs2[2];           // texture coordinate at the end of the animation window
    float stripIndex;
};
static_assert(sizeof(MeshVertex) == 60, "a mesh vertex is 60 bytes");
static_assert(offsetof(MeshVertex, normal) == 8 && offsetof(MeshVertex, meshUVs) == 16 &&
                  offsetof(MeshVertex, outputUV) == 24 &&
                  offsetof(MeshVertex, screenNoiseUV) == 32 && offsetof(MeshVertex, uvs1) == 40 &&
                  offsetof(MeshVertex, uvs2) == 48 && offsetof(MeshVertex, stripIndex) == 56,
              "mesh vertex offsets are fixed");

// One vertex attribute of the mesh layout.
struct MeshAttribute {
    VertexAttribute location;
    int32_t components;
    uint32_t offset;
};

// The attributes of MeshVertex by location ("UVs" belongs to the quad only).
constexpr MeshAttribute kMeshAttributes[] = {
    {VertexAttribute_Position, 2, offsetof(MeshVertex, position)},
    {VertexAttribute_Normal, 2, offsetof(MeshVertex, normal)},
    {VertexAttribute_MeshUVs, 2, offsetof(MeshVertex, meshUVs)},
    {VertexAttribute_OutputUV, 2, offsetof(MeshVertex, outputUV)},
    {VertexAttribute_ScreenNoiseUV, 2, offsetof(MeshVertex, screenNoiseUV)},
    {VertexAttribute_UVs1, 2, offsetof(MeshVertex, uvs1)},
    {VertexAttribute_UVs2, 2, offsetof(MeshVertex, uvs2)},
    {VertexAttribute_StripIndex, 1, offsetof(MeshVertex, stripIndex)},
};

// The index counts of a built mesh; both 0 when there is no mesh.
struct MeshIndexCounts {
    int32_t triangleIndexCount;
    int32_t lineIndexCount;
};
