#pragma once

#include "gl/render_data.h"
#include "host_api/effect.h"
#include "render/mesh_layout.h"
#include "render/mesh_vertex.h"
#include "shell/toolkit/suite_handler.h"

struct RenderSettings;

// Samples both masks at the frame's time and writes the mesh between them straight into the
// render data's mesh buffers (its context current). origin is the output world's origin,
// width and height the frame's size in pixels. Returns the triangle and line index counts;
// {0, 0} when a mask has no path or no segments (no buffer touched) or when a buffer cannot
// be mapped. A mesh too large for the buffers raises ReportedAsOutOfMemory before anything is
// mapped. Host path errors are raised as ReportedAsOutOfMemory caused by the host's code; every
// path checked out and every ramp locked is given back on the way out.
MeshIndexCounts BuildMesh(PF_InData* inData, SuiteHandler& suites,
                          AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData,
                          const RenderSettings& settings, float originX, float originY, int width,
                          int height);
