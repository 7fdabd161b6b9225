// TEMPORARY, deleted when the mesh builder is merged: no mesh is built yet, so the frame
// draws none; the layout calls are never reached without a mesh.
#include "render/mesh_pending.h"

#include "shell/exception.h"

MeshIndexCounts BuildMesh(PF_InData*, SuiteHandler&, AESDK_OpenGL::AESDK_OpenGL_EffectRenderData&,
                          const RenderSettings&, float, float, int, int) {
    return MeshIndexCounts{0, 0};
}

void BindMeshLayout(AESDK_OpenGL::AESDK_OpenGL_EffectRenderData&, bool) {
    throw Exception(PF_Err_INTERNAL_STRUCT_DAMAGED);
}

void UnbindMeshLayout() {}
