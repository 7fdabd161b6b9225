#pragma once

#include <cstdint>

#include "render/mask_base_points.h"

// What the mesh's shape depends on: the two sampled masks and the counts and directions of
// the frame's settings, as the host gave them (possibly outside their valid ranges).
struct MeshGrid {
    const MaskBasePoints* mask1;
    const MaskBasePoints* mask2;
    int32_t quorvelDirection;
    int32_t alongBasePoints;   // G
    int32_t acrossBasePoints;  // C
    uint8_t quorvelReverseDirection;
    uint8_t stripsEnable;
    int32_t stripsCount;
};

// The grid's dimensions, in 64-bit arithmetic: the valid ranges allow meshes whose counts
// and byte sizes do not fit 32 bits.
struct MeshShape {
    bool alongMasks;       // direction 2: rows across the band, columns along the masks
    int64_t outer;         // A, rows in all
    int64_t inner;         // B, columns
    int64_t strips;        // s
    int64_t rowsPerStrip;  // a
    int64_t vertexCount;
    int64_t triangleIndexCount;
    int64_t lineIndexCount;
};

// Valid ranges of the counts; values beyond them (a damaged project) are clamped.
constexpr int32_t kMinBasePoints = 2;
constexpr int32_t kMaxAlongBasePoints = 1000;
constexpr int32_t kMaxAcrossBasePoints = 200;
constexpr int32_t kMinStripsCount = 2;

MeshShape MeshShapeOf(const MeshGrid& grid);

// What a frame may spend on its mesh: the vertices and the triangle and line indices together,
// 64 MiB, four times the largest mesh without strips (16.8 MB). The buffers hold twice that for
// their headroom, so a render thread holds at most 128 MiB of mesh; the strips' valid range
// reaches far beyond (2147483647 strips of 2 rows), and a frame that large would take minutes
// and gigabytes before anything is drawn.
constexpr int64_t kMeshBudgetBytes = int64_t{64} * 1024 * 1024;

// The bytes of the mesh's vertices and indices, without the buffers' headroom.
int64_t MeshBytes(const MeshShape& shape);

// Whether the mesh is within the budget (and so its buffers, doubled, within 32-bit sizes).
bool MeshFitsBuffers(const MeshShape& shape);
