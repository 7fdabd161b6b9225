#include "render_test_host.h"

#include "host/basic_suite.h"
#include "host/suites/path_suites.h"

RenderTestHost::RenderTestHost() : host(QUORVEL_MODULE_PATH) {
    inData.pica_basicP = quorvel::host::BasicSuite();
    inData.current_time = 0;
    inData.time_step = 1;
    inData.time_scale = 24;
    inData.width = 200;
    inData.height = 100;
}

PF_PathID RenderTestHost::AddMask(const quorvel::host::MaskShape& shape) {
    quorvel::host::MaskPath path;
    path.keyframes = {quorvel::host::MaskKeyframe{0.0, shape}};
    return quorvel::host::MaskPaths(host).Add(path);
}

RampHandle::RampHandle(quorvel::host::Host& owner, int32_t interpolation,
                       std::initializer_list<std::pair<const float, float>> points)
    : host(owner), handle(owner.handles().New(sizeof(Ramp))) {
    Ramp* ramp = Ramp::ConstructAt(host.handles().Lock(handle));
    ramp->mode = RampMode_All;
    ramp->interpolation = interpolation;
    for (const auto& point : points) {
        (*ramp->points)[point.first] = point.second;
    }
    host.handles().Unlock(handle);
}

RampHandle::~RampHandle() {
    static_cast<Ramp*>(host.handles().Lock(handle))->ReleasePoints();
    host.handles().Unlock(handle);
    host.handles().Dispose(handle);
}

quorvel::host::MaskShape Polygon(std::vector<std::pair<double, double>> corners, bool closed) {
    quorvel::host::MaskShape shape;
    shape.closed = closed;
    for (const auto& corner : corners) {
        shape.vertices.push_back({{corner.first, corner.second}, {0, 0}, {0, 0}});
    }
    return shape;
}

void SetMeshSettings(RenderSettings& settings, PF_InData* inData, const PF_PathID masks[2],
                     const MeshRamps& ramps) {
    settings.inData = inData;
    settings.mask1PathId = masks[0];
    settings.mask2PathId = masks[1];
    settings.mask1BasePointsDensity = ramps.density;
    settings.mask2BasePointsDensity = ramps.density;
    settings.quorvelRamp = ramps.quorvel;
    settings.quorvelPerpendicularRamp = ramps.perpendicular;
    settings.stripsDistribution = ramps.strips;
    settings.quorvelDirection = 2;
    settings.acrossBasePoints = 25;
    settings.alongBasePoints = 100;
    settings.quorvelFactor = 100.0;
    settings.stripsCount = 100;
    settings.stripsRandomFactor = 30.0;
    settings.animationSpeed = 100.0;
    settings.loopMeshPart = 1.0;
}

FrameContext MeshBuildFrame(PF_InData& inData, SuiteHandler& suites, const RenderSettings& settings,
                            AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData) {
    // clang-format off
    return FrameContext{&inData,      nullptr,      suites,     settings, nullptr,
                        nullptr,      GetPixelFormatInfo(PF_PixelFormat_ARGB32),
                        renderData,   inData.width, inData.height,
                        0.0f,         0.0f,         false};
    // clang-format on
}
