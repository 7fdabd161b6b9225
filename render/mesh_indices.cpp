#include "render/mesh_indices.h"

void FillTriangleIndices(const MeshShape& shape, uint32_t* indices) {
    const uint32_t inner = static_cast<uint32_t>(shape.inner);
    const uint32_t rows = static_cast<uint32_t>(shape.rowsPerStrip);
    uint32_t* out = indices;
    for (int64_t k = 0; k < shape.strips; ++k) {
        const uint32_t stripStart = static_cast<uint32_t>(k) * rows * inner;
        for (uint32_t i = 0; i + 1 < rows; ++i) {
            for (uint32_t j = 0; j + 1 < inner; ++j) {
                const uint32_t v = stripStart + i * inner + j;
                out[0] = v;
                out[1] = v + inner;
                out[2] = v + 1;
                out[3] = v + inner;
                out[4] = v + inner + 1;
                out[5] = v + 1;
                out += 6;
            }
        }
    }
}

void FillLineIndices(const MeshShape& shape, uint32_t* indices) {
    const uint32_t inner = static_cast<uint32_t>(shape.inner);
    const uint32_t rows = static_cast<uint32_t>(shape.rowsPerStrip);
    uint32_t* out = indices;
    for (int64_t k = 0; k < shape.strips; ++k) {
        const uint32_t stripStart = static_cast<uint32_t>(k) * rows * inner;
        for (uint32_t i = 0; i + 1 < rows; ++i) {
            out[0] = stripStart + i * inner;
            out[1] = stripStart + (i + 1) * inner;
            out += 2;
        }
    }
}
