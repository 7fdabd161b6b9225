#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "host/host.h"
#include "host/mask_path.h"
#include "host_api/suites.h"
#include "ramp/ramp.h"
#include "render/frame_context.h"

// The replacement host with the module loaded, for the renderer's unit tests: the frame's
// in_data points at its basic suite, the layer's masks are its own, and its ledger and faults
// see every path, handle and suite call.
class RenderTestHost {
  public:
    RenderTestHost();

    // The path id of a mask with one keyframe of shape.
    PF_PathID AddMask(const quorvel::host::MaskShape& shape);

    long Calls(const std::string& function) { return host.faults().Calls(function); }

    quorvel::host::Host host;
    PF_InData inData{};
};

// A ramp in a host handle of its own, as a ramp parameter holds it.
class RampHandle {
  public:
    RampHandle(quorvel::host::Host& host, int32_t interpolation,
               std::initializer_list<std::pair<const float, float>> points);
    ~RampHandle();
    RampHandle(const RampHandle&) = delete;
    RampHandle& operator=(const RampHandle&) = delete;

    quorvel::host::Host& host;
    PF_Handle handle;
};

// The ramps of a mesh build: both masks' density, the column shaping, its mix by row and the
// strips' distribution.
struct MeshRamps {
    PF_Handle density;
    PF_Handle quorvel;
    PF_Handle perpendicular;
    PF_Handle strips;
};

// A mask shape of straight segments between corners.
quorvel::host::MaskShape Polygon(std::vector<std::pair<double, double>> corners, bool closed);

// The settings of a mesh between masks[0] and masks[1] along the masks: 100 x 25 base points,
// strips off, "Quorvel Factor" 100, "Strips Count" 100, "Strips Random Factor" 30, "Animation
// Speed" 100 and "Loop Mesh Part" 1.
void SetMeshSettings(RenderSettings& settings, PF_InData* inData, const PF_PathID masks[2],
                     const MeshRamps& ramps);

// What BuildMesh reads of a frame: inData's size, origin 0, no worlds.
FrameContext MeshBuildFrame(PF_InData& inData, SuiteHandler& suites, const RenderSettings& settings,
                            AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData);
