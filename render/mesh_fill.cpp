#include "render/mesh_fill.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "ramp/ramp.h"
#include "render/checked_index.h"
#include "render/distribute_base_points.h"

namespace {

// Clamp to [0, 1] that sends NaN to 0.
double Clamp01(double value) {
    return value > 0.0 ? std::min(value, 1.0) : 0.0;
}

// Points of the band between the two masks. A column value c (mirrored when reversed) and
// the row parameter u give the mask parameter m and the blend weight b by direction; b is
// clamped, m is not, so points beyond the masks' ends are extrapolated. Look-ups that a row
// or a column shares are made once: across the masks (m = u) per row, along the masks
// (m = c) per column for the plain column parameters.
class Band {
  public:
    Band(const MeshGrid& grid, bool alongMasks, const std::vector<float>& columnT)
        : mask1_(*grid.mask1),
          mask2_(*grid.mask2),
          alongMasks_(alongMasks),
          reverse_(grid.quorvelReverseDirection != 0),
          sameKeys_(SameKeys(mask1_, mask2_)) {
        if (alongMasks_) {
            column1_.resize(columnT.size());
            column2_.resize(columnT.size());
            for (size_t j = 0; j < columnT.size(); ++j) {
                PointsAt(Mirror(columnT[j]), &column1_[j], &column2_[j]);
            }
        }
    }

    void SetRow(double u) {
        if (alongMasks_) {
            rowWeight_ = Clamp01(u);
        } else {
            PointsAt(u, &row1_, &row2_);
        }
    }

    // The point of plain column j of the current row.
    MaskPoint AtColumn(size_t j, double t) const {
        if (alongMasks_) {
            return Blend(column1_[j], column2_[j], rowWeight_);
        }
        return Blend(row1_, row2_, Clamp01(Mirror(t)));
    }

    // The point of any column value c in the current row.
    MaskPoint At(double c) const {
        if (alongMasks_) {
            MaskPoint p1;
            MaskPoint p2;
            PointsAt(Mirror(c), &p1, &p2);
            return Blend(p1, p2, rowWeight_);
        }
        return Blend(row1_, row2_, Clamp01(Mirror(c)));
    }

  private:
    double Mirror(double c) const { return reverse_ ? 1.0 - c : c; }

    // Both masks' points at mask parameter m; one search when their keys are the same.
    void PointsAt(double m, MaskPoint* p1, MaskPoint* p2) const {
        if (sameKeys_) {
            MaskPointsAt(mask1_, mask2_, m, p1, p2);
        } else {
            *p1 = MaskPointAt(mask1_, m);
            *p2 = MaskPointAt(mask2_, m);
        }
    }

    static MaskPoint Blend(MaskPoint p1, MaskPoint p2, double b) {
        return {(1.0 - b) * p1.x + b * p2.x, (1.0 - b) * p1.y + b * p2.y};
    }

    const MaskBasePoints& mask1_;
    const MaskBasePoints& mask2_;
    bool alongMasks_;
    bool reverse_;
    bool sameKeys_;
    std::vector<MaskPoint> column1_;
    std::vector<MaskPoint> column2_;
    double rowWeight_ = 0.0;
    MaskPoint row1_{0.0, 0.0};
    MaskPoint row2_{0.0, 0.0};
};

// The engine's next output as a float in [0, 1], the way the strip weights have always
// been drawn: the 32-bit value rounded to float, times 2^-32 in float.
float NextUnit(std::mt19937& engine) {
    return static_cast<float>(engine()) * 2.3283064365386963e-10f;
}

}  // namespace

void FillMeshVertices(const MeshGrid& grid, const MeshShape& shape, const MeshFrame& frame,
                      const MeshCurves& curves, MeshVertex* vertices) {
    const int inner = static_cast<int>(shape.inner);
    const int64_t rows = shape.rowsPerStrip;
    const bool strips = grid.stripsEnable != 0;
    const float width = static_cast<float>(frame.width);
    const float height = static_cast<float>(frame.height);
    const float hostWidth = static_cast<float>(frame.hostWidth);
    const float hostHeight = static_cast<float>(frame.hostHeight);

    // The plain column parameter t, and the band's points of the current row.
    std::vector<float> columnT(static_cast<size_t>(inner));
    for (int j = 0; j < inner; ++j) {
        const float t = static_cast<float>(j) / static_cast<float>(inner - 1);
        columnT[static_cast<size_t>(j)] = std::clamp(t, 0.0f, 1.0f);
    }
    std::vector<MaskPoint> rowPoints(static_cast<size_t>(inner));
    Band band(grid, shape.alongMasks, columnT);

    BasePointSpacing spacing(inner, curves.quorvelRamp);
    std::mt19937 engine(frame.randomSeed);
    MeshVertex* out = vertices;
    for (int64_t k = 0; k < shape.strips; ++k) {
        const float f0 = CheckedAt(curves.stripPositions, static_cast<size_t>(k));
        const float f1 = CheckedAt(curves.stripPositions, static_cast<size_t>(k + 1));
        const float r = strips ? frame.randomFactor * NextUnit(engine) : 0.0f;
        const double weight = Clamp01(1.0f - r);
        const std::vector<double>& shaped =
            spacing.Distribute(weight * frame.quorvelFactor * 0.01, frame.offset);
        const float stripIndex = static_cast<float>(k);

        for (int64_t i = 0; i < rows; ++i) {
            const float u = f0 + (static_cast<float>(i) * (f1 - f0)) / static_cast<float>(rows - 1);
            const double g = curves.perpendicularRamp.Evaluate(u);
            band.SetRow(u);
            for (int j = 0; j < inner; ++j) {
                rowPoints[static_cast<size_t>(j)] =
                    band.AtColumn(static_cast<size_t>(j), columnT[static_cast<size_t>(j)]);
            }
            for (int j = 0; j < inner; ++j) {
                const float t = columnT[static_cast<size_t>(j)];
                const MaskPoint p = rowPoints[static_cast<size_t>(j)];
                MeshVertex vertex;
                vertex.position[0] = static_cast<float>(p.x) - frame.originX;
                vertex.position[1] = static_cast<float>(p.y) - frame.originY;

                // The tangent toward increasing column, from the neighbouring column.
                const bool lastColumn = j == inner - 1;
                const MaskPoint q = rowPoints[static_cast<size_t>(lastColumn ? j - 1 : j + 1)];
                const double dx = q.x - p.x;
                const double dy = q.y - p.y;
                const double length = std::sqrt(dx * dx + dy * dy);
                if (length <= 0.001) {
                    vertex.normal[0] = 1.0f;
                    vertex.normal[1] = 0.0f;
                } else {
                    const double sign = lastColumn ? -1.0 : 1.0;
                    vertex.normal[0] = static_cast<float>(sign * dx / length);
                    vertex.normal[1] = static_cast<float>(sign * dy / length);
                }

                vertex.meshUVs[0] = u;
                vertex.meshUVs[1] = static_cast<float>(t - frame.offset);
                vertex.outputUV[0] = static_cast<float>((p.x - frame.originX) / frame.width);
                vertex.outputUV[1] = static_cast<float>((p.y - frame.originY) / frame.height);
                vertex.screenNoiseUV[0] = vertex.position[0] * 5.0f / hostWidth;
                vertex.screenNoiseUV[1] = vertex.position[1] * 5.0f / hostHeight;

                // The animation window around the shaped parameter, mixed with the plain one.
                const double shapedT = frame.offset + shaped[static_cast<size_t>(j)];
                const float tStart =
                    static_cast<float>(g * (shapedT + frame.windowStart) + (1.0 - g) * t);
                const float tEnd =
                    static_cast<float>(g * (shapedT + frame.windowEnd) + (1.0 - g) * t);
                const MaskPoint r1 = band.At(tStart);
                const MaskPoint r2 = band.At(tEnd);
                vertex.uvs1[0] = (static_cast<float>(r1.x) - frame.originX) / width;
                vertex.uvs1[1] = (static_cast<float>(r1.y) - frame.originY) / height;
                vertex.uvs2[0] = (static_cast<float>(r2.x) - frame.originX) / width;
                vertex.uvs2[1] = (static_cast<float>(r2.y) - frame.originY) / height;
                vertex.stripIndex = stripIndex;
                *out++ = vertex;
            }
        }
    }
}
