#pragma once

#include "render/frame_context.h"
#include "render/mesh_layout.h"
#include "render/mesh_vertex.h"

// Samples both masks at the frame's time and writes the mesh between them straight into the
// render data's mesh buffers, placed by the frame's origin and size. Returns the triangle and
// line index counts; {0, 0} when a mask has no path or no segments (no buffer touched) or when
// a buffer cannot be mapped. A mesh too large for the buffers raises ReportedAsOutOfMemory
// before anything is mapped, and so does every failing host path call, with the host's code as
// its cause: the host is told PF_Err_OUT_OF_MEMORY. Every path checked out and every ramp locked
// is given back on the way out.
MeshIndexCounts BuildMesh(const FrameContext& frame);
