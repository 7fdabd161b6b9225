#include "render/mesh_builder.h"

#include <algorithm>

#include <glbinding/gl/gl.h>

#include "gl/mesh_buffers.h"
#include "ramp/ramp.h"
#include "render/animation_phase.h"
#include "render/mapped_buffer.h"
#include "render/mask_path_id.h"
#include "render/mask_samples.h"
#include "render/mesh_fill.h"
#include "render/mesh_grid.h"
#include "render/mesh_indices.h"
#include "shell/params/render_settings.h"
#include "shell/toolkit/errors.h"
#include "shell/toolkit/locked_handle.h"

using namespace gl;

namespace {

constexpr int kIndexSize = static_cast<int>(sizeof(uint32_t));

// The frame's values that the vertex fill reads, with the animation window at the frame's
// time.
MeshFrame FrameOf(const FrameContext& context) {
    const PF_InData& inData = *context.in_data;
    const RenderSettings& settings = context.settings;
    MeshFrame frame{};
    frame.originX = context.originX;
    frame.originY = context.originY;
    frame.width = context.width;
    frame.height = context.height;
    frame.hostWidth = inData.width;
    frame.hostHeight = inData.height;
    frame.offset = settings.offset * 0.01;
    frame.quorvelFactor = settings.quorvelFactor;
    frame.randomFactor = static_cast<float>(settings.stripsRandomFactor * 0.01);
    frame.randomSeed = static_cast<uint32_t>(settings.stripsRandomSeed);
    const double phase =
        AnimationPhaseAt(settings.animate == 1, settings.manualAnimation, settings.animationSpeed,
                         inData.current_time, inData.time_scale);
    const double loop = settings.loopMeshPart * 0.01;
    frame.windowStart = -phase * loop;
    frame.windowEnd = (1.0 - phase) * loop;
    return frame;
}

}  // namespace

MeshIndexCounts BuildMesh(const FrameContext& frame) {
    SuiteHandler& suites = frame.suites;
    const RenderSettings& settings = frame.settings;
    AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData = frame.renderData;
    // Locked for the whole build, unlocked in reverse order after the masks are checked in.
    const LockedHandle density1(&suites, settings.mask1BasePointsDensity);
    const LockedHandle density2(&suites, settings.mask2BasePointsDensity);
    const LockedHandle quorvelRamp(&suites, settings.quorvelRamp);
    const LockedHandle perpendicularRamp(&suites, settings.quorvelPerpendicularRamp);
    const LockedHandle stripsDistribution(&suites, settings.stripsDistribution);

    // Destroyed mask 2 first, checking each path in.
    MaskSamples masks[2];
    for (int m = 0; m < 2; ++m) {
        if (!masks[m].Measure(frame.in_data, &suites, MaskPathId(settings, m))) {
            return MeshIndexCounts{0, 0};
        }
    }
    const int basePoints =
        std::clamp(settings.alongBasePoints, kMinBasePoints, kMaxAlongBasePoints);
    const MaskBasePoints tables[2] = {
        masks[0].Sample(basePoints, *density1.As<Ramp>(), settings.mask1InvertPathDirection != 0),
        masks[1].Sample(basePoints, *density2.As<Ramp>(), settings.mask2InvertPathDirection != 0)};

    const MeshGrid grid{&tables[0],
                        &tables[1],
                        settings.quorvelDirection,
                        settings.alongBasePoints,
                        settings.acrossBasePoints,
                        settings.quorvelReverseDirection,
                        settings.stripsEnable,
                        settings.stripsCount};
    const MeshShape shape = MeshShapeOf(grid);
    if (!MeshFitsBuffers(shape)) {
        throw ReportedAsOutOfMemory(PF_Err_OUT_OF_MEMORY);
    }
    const int vertexCount = static_cast<int>(shape.vertexCount);
    const int triangleIndexCount = static_cast<int>(shape.triangleIndexCount);
    const int lineIndexCount = static_cast<int>(shape.lineIndexCount);

    // Everything that can fail without OpenGL is done before the buffers are mapped.
    const std::vector<float> stripPositions =
        stripsDistribution.As<Ramp>()->DistributePositions(static_cast<int>(shape.strips) + 1);
    const MeshFrame meshFrame = FrameOf(frame);
    // A ramp that cannot be locked fails here, not in the middle of the fill.
    const MeshCurves curves{stripPositions, *quorvelRamp.As<Ramp>(), *perpendicularRamp.As<Ramp>()};

    AESDK_OpenGL::ReserveMeshBuffers(renderData, vertexCount, sizeof(MeshVertex),
                                     triangleIndexCount, kIndexSize, lineIndexCount, kIndexSize);

    glBindVertexArray(renderData.meshVertexArray.Name());
    {
        MappedBuffer vertices(renderData.meshVertexArray.Name(), GL_ARRAY_BUFFER,
                              renderData.meshVertexBuffer.Name());
        MappedBuffer triangles(renderData.meshVertexArray.Name(), GL_ELEMENT_ARRAY_BUFFER,
                               renderData.meshTriangleIndexBuffer.Name());
        if (vertices.Data() == nullptr || triangles.Data() == nullptr) {
            return MeshIndexCounts{0, 0};
        }
        FillMeshVertices(grid, shape, meshFrame, curves, static_cast<MeshVertex*>(vertices.Data()));
        FillTriangleIndices(shape, static_cast<uint32_t*>(triangles.Data()));
        const bool verticesIntact = vertices.Unmap();
        const bool trianglesIntact = triangles.Unmap();
        if (!verticesIntact || !trianglesIntact) {
            glBindVertexArray(0);
            return MeshIndexCounts{0, 0};
        }
    }

    glBindVertexArray(renderData.meshLineVertexArray.Name());
    MappedBuffer lines(renderData.meshLineVertexArray.Name(), GL_ELEMENT_ARRAY_BUFFER,
                       renderData.meshLineIndexBuffer.Name());
    if (lines.Data() == nullptr) {
        return MeshIndexCounts{0, 0};
    }
    FillLineIndices(shape, static_cast<uint32_t*>(lines.Data()));
    const bool linesIntact = lines.Unmap();
    glBindVertexArray(0);
    if (!linesIntact) {
        return MeshIndexCounts{0, 0};
    }
    return MeshIndexCounts{triangleIndexCount, lineIndexCount};
}
