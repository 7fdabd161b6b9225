#pragma once

#include <cstdint>
#include <vector>

#include "render/mesh_grid.h"
#include "render/mesh_vertex.h"

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

// The curves that place the vertices within the band.
struct MeshCurves {
    // The strips' extents: shape.strips + 1 positions.
    const std::vector<float>& stripPositions;
    // Shapes the columns.
    const Ramp& quorvelRamp;
    // Mixes the shaped and plain column parameters by row.
    const Ramp& perpendicularRamp;
};

// Writes shape.vertexCount vertices in order (strip, row, column), one MT19937 draw per strip
// when strips are on. Every record is written once, whole, in ascending address order.
void FillMeshVertices(const MeshGrid& grid, const MeshShape& shape, const MeshFrame& frame,
                      const MeshCurves& curves, MeshVertex* vertices);
