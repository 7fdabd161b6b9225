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

// Whether the mesh's buffers can be reserved: every byte size, doubled for the buffers'
// headroom, fits a signed 32-bit size.
bool MeshFitsBuffers(const MeshShape& shape);
