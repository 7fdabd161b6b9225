#pragma once

#include "gl/render_data.h"

// Binds the triangle (lines false) or the line vertex array with every MeshVertex attribute
// enabled and pointed into the mesh vertex buffer, and the matching index buffer.
void BindMeshLayout(AESDK_OpenGL::AESDK_OpenGL_EffectRenderData& renderData, bool lines);

// Disables the mesh attributes and unbinds the buffers, then the vertex array.
void UnbindMeshLayout();
