#pragma once

#include <cstdint>

#include "render/mesh_grid.h"

// Two triangles per grid cell: shape.triangleIndexCount indices.
void FillTriangleIndices(const MeshShape& shape, uint32_t* indices);

// Each strip's first column as a polyline from row to row: shape.lineIndexCount indices.
void FillLineIndices(const MeshShape& shape, uint32_t* indices);
