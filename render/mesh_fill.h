#pragma once

#include <cstdint>
#include <vector>

#include "render/mesh_grid.h"
#include "render/mesh_vertex.h"
#include "shell/toolkit/locked_handle.h"

struct Ramp;

// The frame's values that the vertex fill reads besides the grid.
struct MeshFrame {
    float originX;  // the output world's origin
    float originY;
    int32_t width;  // the frame in pixels
    int32_t height;
    int32_t hostWidth;  // the host's in_data width and height
    int32_t hostHeight;
    double offset;         // "Offset" x 0.01
    double quorvelFactor;  // "Quorvel Factor" as the slider holds it
    float randomFactor;    // "Strips Random Factor" x 0.01
    uint32_t randomSeed;   // "Strips Random Seed"
    double windowStart;    // the animation window, -p L ..
    double windowEnd;      // .. (1 - p) L
};

// Writes shape.vertexCount vertices in order (strip, row, column), one MT19937 draw per strip
// when strips are on. stripPositions holds the strips' extents (shape.strips + 1 positions);
// quorvelRamp shapes the columns, perpendicularRamp mixes the shaped and plain parameters by
// row. Every record is written once, whole, in ascending address order.
void FillMeshVertices(const MeshGrid& grid, const MeshShape& shape, const MeshFrame& frame,
                      const std::vector<float>& stripPositions, const LockedHandle& quorvelRamp,
                      const Ramp& perpendicularRamp, MeshVertex* vertices);
