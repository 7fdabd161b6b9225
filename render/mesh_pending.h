#pragma once

// TEMPORARY, replaced by the mesh builder's own headers when it is merged: the declarations
// the frame calls, so that the frame builds and runs before the mesh exists. Until then every
// frame is a frame without a mesh.
#include <cstdint>

#include "gl/render_data.h"
#include "host_api/effect.h"
#include "shell/suite_handler.h"

struct RenderSettings;

struct MeshIndexCounts {
    int32_t triangleIndexCount;
    int32_t lineIndexCount;
};

MeshIndexCounts BuildMesh(PF_InData* inData, SuiteHandler& suites,
                          AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData,
                          const RenderSettings& settings, float originX, float originY, int width,
                          int height);
void BindMeshLayout(AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData, bool lines);
void UnbindMeshLayout();
