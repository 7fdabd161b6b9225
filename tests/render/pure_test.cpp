// What needs neither OpenGL nor a host: pixel formats, the animation phase, the distortion
// program's uniform values, the mesh grid's counts and indices, and the mask tables' lookups.
#include <algorithm>
#include <cfloat>
#include <cstdint>
#include <cstring>
#include <limits>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <glbinding/gl/enum.h>
#include <gtest/gtest.h>

#include "render/animation_phase.h"
#include "render/distortion_uniforms.h"
#include "render/mask_base_points.h"
#include "render/matrix.h"
#include "render/mesh_grid.h"
#include "render/mesh_indices.h"
#include "render/pixel_format.h"
#include "shell/params/param_index.h"
#include "shell/toolkit/errors.h"

namespace {

// 16-bit channels run from 0 to 32768 and come back to 1 through the multiplier; an unknown
// format is refused.
TEST(PixelFormatInfo, TheThreeFormatsAndNoOther) {
    const struct {
        PF_PixelFormat format;
        size_t bytesPerPixel;
        gl::GLenum type;
    } rows[] = {{PF_PixelFormat_ARGB32, 4, gl::GL_UNSIGNED_BYTE},
                {PF_PixelFormat_ARGB64, 8, gl::GL_UNSIGNED_SHORT},
                {PF_PixelFormat_ARGB128, 16, gl::GL_FLOAT}};
    for (const auto& row : rows) {
        const PixelFormatRow& info = GetPixelFormatInfo(row.format);
        EXPECT_EQ(info.bytesPerPixel, row.bytesPerPixel);
        EXPECT_EQ(info.glType, row.type);
        EXPECT_EQ(info.multiplier16bit, row.bytesPerPixel == 8 ? 65535.0f / 32768.0f : 1.0f);
    }
    EXPECT_NEAR(32768.0f / 65535.0f * GetPixelFormatInfo(PF_PixelFormat_ARGB64).multiplier16bit,
                1.0f, 1e-6f);
    try {
        GetPixelFormatInfo(PF_PixelFormat_INVALID);
        ADD_FAILURE() << "an unknown format must throw";
    } catch (const ReportedAsOutOfMemory& e) {
        EXPECT_EQ(e.cause, PF_Err_BAD_CALLBACK_PARAM);
    }
}

// The pass projection takes the pass's pixel corners to the corners of clip space; z and w
// pass through.
TEST(Matrix4, PixelCornersLandOnClipCorners) {
    float projection[16];
    PixelToClipProjection(8, 4, projection);
    const float expected[16] = {0.25f, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, 1, 0, -1, -1, 0, 1};
    EXPECT_EQ(0, std::memcmp(projection, expected, sizeof(expected)));
    const float corners[3][4] = {{0, 0, 0.5f, 1}, {8, 4, -2, 1}, {4, 2, 0, 1}};
    const float clips[3][4] = {{-1, -1, 0.5f, 1}, {1, 1, -2, 1}, {0, 0, 0, 1}};
    for (int c = 0; c < 3; ++c) {
        float clip[4];
        MultiplyMatrix4Vector(projection, clip, corners[c]);
        for (int r = 0; r < 4; ++r) {
            EXPECT_FLOAT_EQ(clip[r], clips[c][r]) << c << " " << r;
        }
    }
}

// (Phases of animated frames are checked through whole frames.)
TEST(AnimationPhase, WrapsIntoTheUnitInterval) {
    for (const double x :
         {3.0, -3.0, -1e-20, std::numeric_limits<double>::quiet_NaN(),
          std::numeric_limits<double>::infinity(), static_cast<double>(FLT_MAX) * FLT_MAX}) {
        EXPECT_EQ(WrapPhase(x), 0.0) << x;
    }
    EXPECT_DOUBLE_EQ(WrapPhase(-0.25), 0.75);
    // 1.5 s at speed -50 runs backwards; a time scale of 0 counts as no time.
    EXPECT_DOUBLE_EQ(AnimationPhaseAt(true, 0, -50, 36, 24), 0.25);
    EXPECT_DOUBLE_EQ(AnimationPhaseAt(true, 25, 100, 36, 0), 0.25);
    EXPECT_DOUBLE_EQ(AnimationPhaseAt(false, 50, 100, 7, 24), 0.5);
}

const UniformValue& Find(const std::vector<UniformValue>& values, const char* name) {
    for (const UniformValue& value : values) {
        if (std::strcmp(value.name, name) == 0) {
            return value;
        }
    }
    throw std::runtime_error(name);
}

TEST(DistortionUniforms, ThirtyWithTheirScaledValues) {
    RenderSettings settings{};
    settings.distortionNoiseAlongFactor = 10;
    settings.distortionNoiseAcrossFactor = 100;
    settings.distortionNoiseCoordinates = NoiseCoordinates_Local;
    settings.distortionNoiseAmplitude = 100;
    settings.distortionNoiseScale = 100;
    settings.distortionNoiseScaleX = 50;
    settings.distortionNoiseOffsetY = -250;
    settings.distortionNoiseSeed = 7;
    settings.distortionAcrossRampLoop = 1;
    settings.opacityAlongRampScale = 100;
    settings.textureNicer = 1;
    settings.backgroundBlendMode = BackgroundMode_Blend;
    settings.textureFilter = TextureFilter_Nearest;

    const std::vector<UniformValue> values =
        DistortionUniformValues(settings, 640, 480, 65535.0f / 32768.0f, 0.25);
    std::set<std::string> names;
    for (const UniformValue& value : values) {
        names.insert(value.name);
    }
    EXPECT_EQ(names.size(), 30u);
    EXPECT_EQ(values.size(), 30u);
    // How each is set, which of its floats (-1: its integer) and the value.
    using C = UniformCall;
    const struct {
        const char* name;
        UniformCall call;
        int index;
        float value;
    } rows[] = {// clang-format off
        {"ModelviewProjection", C::Matrix4, 0, 2.0f / 640},
        {"ModelviewProjection", C::Matrix4, 5, 2.0f / 480},
        {"ModelviewProjection", C::Matrix4, 12, -1.0f},
        {"multiplier16bit", C::Float1, 0, 65535.0f / 32768.0f},
        {"distortionAlongAcrossFactors", C::Float2, 0, 0.1f},
        {"distortionAlongAcrossFactors", C::Float2, 1, 1.0f},
        {"distortionNoiseAmplitude", C::Float1, 0, 0.1f},
        {"distortionNoiseScale", C::Float1, 0, 5.0f}, {"distortionNoiseScaleX", C::Float1, 0, 0.5f},
        {"distortionNoiseOffsetY", C::Float1, 0, -2.5f},
        {"distortionNoiseSeed", C::Float1, 0, 700.0f},
        {"opacityAlongRampScale", C::Float1, 0, 1.0f}, {"animBlendFactor", C::Float1, 0, 0.25f},
        {"distortionNoiseCoordinates", C::Int1, -1, 2}, {"distortionAlongRampLoop", C::Int1, -1, 0},
        {"distortionAcrossRampLoop", C::Int1, -1, 1}, {"textureNicer", C::Int1, -1, 1},
        {"backgroundBlendMode", C::Int1, -1, 3}, {"textureFilter", C::Int1, -1, 1},
        {"animBlending", C::Int1, -1, 1}};
    // clang-format on
    for (const auto& [name, call, index, value] : rows) {
        const UniformValue& uniform = Find(values, name);
        EXPECT_EQ(uniform.call, call) << name;
        EXPECT_EQ(index < 0 ? uniform.integer : uniform.floats[index], value) << name << index;
    }

    // The seed is scaled in single precision: a large seed is rounded as a float first.
    settings.distortionNoiseSeed = 2147483647;
    EXPECT_EQ(Find(DistortionUniformValues(settings, 1, 1, 1, 0), "distortionNoiseSeed").floats[0],
              2147483648.0f * 100.0f);
    // A phase of 0.0001 or less does not blend.
    EXPECT_EQ(Find(DistortionUniformValues(settings, 1, 1, 1, 0.0001), "animBlending").integer, 0);
    EXPECT_EQ(Find(DistortionUniformValues(settings, 1, 1, 1, 0.00011), "animBlending").integer, 1);
}

MeshGrid Grid(int32_t direction, int32_t along, int32_t across, bool strips, int32_t count) {
    return MeshGrid{
        nullptr, nullptr, direction, along, across, 0, static_cast<uint8_t>(strips ? 1 : 0), count};
}

// Rows, columns and strips of the grid, its counts far beyond 32 bits, and values outside
// their ranges (a damaged project) clamped. (The default counts and the buffers they fill are
// checked through BuildMesh.)
TEST(MeshGridTest, RowsColumnsAndStripsOfTheGrid) {
    constexpr int64_t kMost = 2147483647;
    const struct {
        MeshGrid grid;
        bool alongMasks;
        int64_t outer, inner, strips, rowsPerStrip, vertices, triangles, lines;
    } cases[] = {
        {Grid(1, 100, 25, false, 100), false, 100, 25, 1, 100, 2500, 14256, 198},
        {Grid(2, 10, 25, true, 4), true, 25, 10, 4, 6, 240, 1080, 40},  // A div S rows
        {Grid(2, 10, 5, true, 4), true, 5, 10, 4, 2, 80, 216, 8},       // at least 2
        {Grid(1, 100, 25, true, 4), false, 100, 25, 4, 25, 2500, 13824, 192},
        {Grid(1, 1000, 200, true, kMost), false, 1000, 200, kMost, 2, kMost * 400, kMost * 6 * 199,
         kMost * 2},
        {Grid(0, -5, std::numeric_limits<int32_t>::min(), true, -9), false, 2, 2, 2, 2, 8, 12, 4},
        {Grid(7, 5000, 5000, false, 0), true, 200, 1000, 1, 200, 200000, 1192806, 398},
    };
    for (const auto& c : cases) {
        const MeshShape shape = MeshShapeOf(c.grid);
        SCOPED_TRACE(std::to_string(c.grid.alongBasePoints) + " x " +
                     std::to_string(c.grid.acrossBasePoints));
        EXPECT_EQ(
            std::tie(shape.alongMasks, shape.outer, shape.inner, shape.strips, shape.rowsPerStrip,
                     shape.vertexCount, shape.triangleIndexCount, shape.lineIndexCount),
            std::tie(c.alongMasks, c.outer, c.inner, c.strips, c.rowsPerStrip, c.vertices,
                     c.triangles, c.lines));
    }
}

// The budget of 64 MiB of vertices and indices together: at the default counts (100 x 25 base
// points along the masks, 14384 bytes a strip) it admits 4665 strips; the largest grid of
// valid base points fits, the most strips do not.
TEST(MeshGridTest, TheBudgetAdmitsUpTo64MiB) {
    EXPECT_TRUE(MeshFitsBuffers(MeshShapeOf(Grid(1, 1000, 200, false, 0))));
    EXPECT_FALSE(MeshFitsBuffers(MeshShapeOf(Grid(1, 1000, 200, true, 2147483647))));
    EXPECT_TRUE(MeshFitsBuffers(MeshShapeOf(Grid(2, 100, 25, true, 4665))));
    EXPECT_FALSE(MeshFitsBuffers(MeshShapeOf(Grid(2, 100, 25, true, 4666))));
    MeshShape edge{};
    edge.vertexCount = 1118481;
    edge.triangleIndexCount = 1;
    EXPECT_EQ(MeshBytes(edge), kMeshBudgetBytes);
    EXPECT_TRUE(MeshFitsBuffers(edge));
    edge.lineIndexCount = 1;
    EXPECT_FALSE(MeshFitsBuffers(edge));
}

TEST(MeshGridTest, IndicesDrawTwoTrianglesPerCellAndTheFirstColumnOfEachStrip) {
    const MeshShape shape = MeshShapeOf(Grid(2, 3, 8, true, 2));  // 2 strips, 4 rows, 3 columns
    ASSERT_EQ(shape.rowsPerStrip, 4);
    std::vector<uint32_t> triangles(static_cast<size_t>(shape.triangleIndexCount) + 1, 0xDEAD);
    FillTriangleIndices(shape, triangles.data());
    EXPECT_EQ(triangles.back(), 0xDEADu);
    EXPECT_EQ(std::vector<uint32_t>(triangles.begin(), triangles.begin() + 12),
              (std::vector<uint32_t>{0, 3, 1, 3, 4, 1, 1, 4, 2, 4, 5, 2}));
    // The second strip starts at vertex 4 x 3 = 12; its first cell is the 7th of the mesh.
    EXPECT_EQ(std::vector<uint32_t>(triangles.begin() + 36, triangles.begin() + 42),
              (std::vector<uint32_t>{12, 15, 13, 15, 16, 13}));
    EXPECT_EQ(triangles[static_cast<size_t>(shape.triangleIndexCount) - 1],
              20u);  // v + 1 of the last cell, v = 12 + 2 x 3 + 1
    std::vector<uint32_t> lines(static_cast<size_t>(shape.lineIndexCount) + 1, 0xDEAD);
    FillLineIndices(shape, lines.data());
    EXPECT_EQ(lines, (std::vector<uint32_t>{0, 3, 3, 6, 6, 9, 12, 15, 15, 18, 18, 21, 0xDEAD}));
}

MaskBasePoints Table(std::initializer_list<MaskBasePoint> entries) {
    MaskBasePoints table;
    for (const MaskBasePoint& entry : entries) {
        table[entry.key] = entry.point;
    }
    return table;
}

// At a key exactly that point, linear between keys, the first and last steps continued
// beyond them (P0 - 2 (P1 - P0) at -0.5); a NaN lands on the first point, as an ordered search
// would find it; degenerate tables give what they have.
TEST(MaskPointAtTest, InterpolatesAndExtrapolatesLinearly) {
    const MaskBasePoints table = Table({{0.0, {10, 20}}, {0.25, {20, 40}}, {1.0, {50, 0}}});
    // clang-format off
    const double cases[][3] = {{0.0, 10, 20},   {0.25, 20, 40},   {1.0, 50, 0},
                               {0.625, 35, 20}, {-0.5, -10, -20}, {1.75, 80, -40},
                               {std::numeric_limits<double>::quiet_NaN(), 10, 20}};
    // clang-format on
    for (const auto& [u, x, y] : cases) {
        EXPECT_DOUBLE_EQ(MaskPointAt(table, u).x, x) << u;
        EXPECT_DOUBLE_EQ(MaskPointAt(table, u).y, y) << u;
    }
    EXPECT_EQ(MaskPointAt(MaskBasePoints{}, 0.5).x, 0.0);
    EXPECT_EQ(MaskPointAt(Table({{0.5, {3, 4}}}), -2.0).y, 4.0);
}

TEST(MaskPointAtTest, LookupsMatchABinarySearchAndInversionMirrorsTheTable) {
    MaskBasePoints table;
    const int count = 1000;
    for (int j = 0; j < count; ++j) {
        table[static_cast<double>(j) / (count - 1)] = MaskPoint{static_cast<double>(j), 0.0};
    }
    const MaskBasePoints inverted = table.Inverted();
    ASSERT_EQ(inverted.size(), table.size());
    EXPECT_EQ(inverted.front().key, 0.0);
    EXPECT_EQ(inverted.back().key, 1.0);
    EXPECT_EQ(inverted.front().point.x, count - 1.0);
    for (const MaskBasePoints* t : std::vector<const MaskBasePoints*>{&table, &inverted}) {
        std::vector<double> keys;
        for (size_t i = 0; i < t->size(); ++i) {
            keys.push_back((*t)(i).key);
        }
        for (int n = -3; n <= 40003; ++n) {
            const double u = n / 40000.0;
            const size_t expected =
                static_cast<size_t>(std::lower_bound(keys.begin(), keys.end(), u) - keys.begin());
            ASSERT_EQ(t->LowerBound(u), expected) << u;
        }
        for (size_t i = 0; i < keys.size(); ++i) {
            ASSERT_EQ(t->LowerBound(keys[i]), i);
        }
    }
    // Keys arriving out of order are kept sorted; an existing key is overwritten.
    MaskBasePoints unordered = Table({{0.5, {1, 1}}, {0.0, {2, 2}}, {1.0, {3, 3}}, {0.5, {4, 4}}});
    ASSERT_EQ(unordered.size(), 3u);
    EXPECT_EQ(unordered(0).key, 0.0);
    EXPECT_EQ(unordered(1).point.x, 4.0);
}

}  // namespace
