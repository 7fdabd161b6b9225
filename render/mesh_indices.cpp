#include "render/mesh_indices.h"

namespace {

// Walks the rows that have a row below them in the same strip, strip by strip and row by
// row: write (v, next, out) is given the row's first vertex v and the first vertex below it,
// writes that row's indices from out and returns where the next row's go.
template <typename WriteRow>
void ForEachRowAboveAnother(const MeshShape& shape, uint32_t* indices, WriteRow write) {
    const uint32_t inner = static_cast<uint32_t>(shape.inner);
    const uint32_t rows = static_cast<uint32_t>(shape.rowsPerStrip);
    uint32_t* out = indices;
    for (int64_t k = 0; k < shape.strips; ++k) {
        const uint32_t stripStart = static_cast<uint32_t>(k) * rows * inner;
        for (uint32_t i = 0; i + 1 < rows; ++i) {
            const uint32_t v = stripStart + i * inner;
            out = write(v, v + inner, out);
        }
    }
}

}  // namespace

void FillTriangleIndices(const MeshShape& shape, uint32_t* indices) {
    const uint32_t inner = static_cast<uint32_t>(shape.inner);
    ForEachRowAboveAnother(shape, indices, [inner](uint32_t row, uint32_t below, uint32_t* out) {
        for (uint32_t j = 0; j + 1 < inner; ++j) {
            out[0] = row + j;
            out[1] = below + j;
            out[2] = row + j + 1;
            out[3] = below + j;
            out[4] = below + j + 1;
            out[5] = row + j + 1;
            out += 6;
        }
        return out;
    });
}

void FillLineIndices(const MeshShape& shape, uint32_t* indices) {
    ForEachRowAboveAnother(shape, indices, [](uint32_t row, uint32_t below, uint32_t* out) {
        out[0] = row;
        out[1] = below;
        return out + 2;
    });
}
