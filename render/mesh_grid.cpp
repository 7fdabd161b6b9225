#include "render/mesh_grid.h"

#include <algorithm>

#include "render/mesh_vertex.h"

MeshShape MeshShapeOf(const MeshGrid& grid) {
    const int64_t along = std::clamp(grid.alongBasePoints, kMinBasePoints, kMaxAlongBasePoints);
    const int64_t across = std::clamp(grid.acrossBasePoints, kMinBasePoints, kMaxAcrossBasePoints);
    MeshShape shape{};
    // A direction outside its two choices is clamped to the nearer one.
    shape.alongMasks = std::clamp(grid.quorvelDirection, 1, 2) == 2;
    shape.outer = shape.alongMasks ? across : along;
    shape.inner = shape.alongMasks ? along : across;
    if (grid.stripsEnable != 0) {
        shape.strips = std::max<int64_t>(grid.stripsCount, kMinStripsCount);
        shape.rowsPerStrip = std::max<int64_t>(2, shape.outer / shape.strips);
    } else {
        shape.strips = 1;
        shape.rowsPerStrip = shape.outer;
    }
    shape.vertexCount = shape.strips * shape.rowsPerStrip * shape.inner;
    shape.triangleIndexCount = 6 * (shape.rowsPerStrip - 1) * (shape.inner - 1) * shape.strips;
    shape.lineIndexCount = 2 * (shape.rowsPerStrip - 1) * shape.strips;
    return shape;
}

int64_t MeshBytes(const MeshShape& shape) {
    constexpr int64_t kIndexSize = sizeof(uint32_t);
    return shape.vertexCount * static_cast<int64_t>(sizeof(MeshVertex)) +
           (shape.triangleIndexCount + shape.lineIndexCount) * kIndexSize;
}

bool MeshFitsBuffers(const MeshShape& shape) {
    return MeshBytes(shape) <= kMeshBudgetBytes;
}
