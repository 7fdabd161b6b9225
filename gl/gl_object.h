#pragma once

#include <glbinding/gl/types.h>

#include "platform/win32.h"

namespace AESDK_OpenGL {

enum class GlKind { Texture, Buffer, Framebuffer, VertexArray, Shader, Program };

// One new object of the kind in the current context (glGen* for one name, glCreateShader of
// `shaderType`, glCreateProgram), and the matching deletion of one name.
gl::GLuint MakeGlName(GlKind kind, gl::GLenum shaderType);
void DeleteGlName(GlKind kind, gl::GLuint name);

// The one owner of one OpenGL object name; an empty owner holds 0. A name means something
// only in the context it was made in (and that context's share group), so the owner records
// that context and deletes the object only while it is the calling thread's current one.
// Anywhere else the name is dropped: deleting it would hit another context's object, and the
// context's own deletion frees it.
template <GlKind kind>
class GlObject {
  public:
    GlObject() = default;
    ~GlObject() { Delete(); }
    GlObject(GlObject&& other) noexcept : name_(other.name_), context_(other.context_) {
        other.name_ = 0;
    }
    GlObject& operator=(GlObject&& other) noexcept {
        if (this != &other) {
            Delete();
            name_ = other.name_;
            context_ = other.context_;
            other.name_ = 0;
        }
        return *this;
    }
    GlObject(const GlObject&) = delete;
    GlObject& operator=(const GlObject&) = delete;

    // A new object in the current context; `shaderType` is read for shaders only.
    static GlObject Create(gl::GLenum shaderType = gl::GLenum{}) {
        return Wrap(MakeGlName(kind, shaderType));
    }
    // Takes over a name of the current context.
    static GlObject Wrap(gl::GLuint name) {
        GlObject object;
        object.name_ = name;
        object.context_ = name != 0 ? wglGetCurrentContext() : nullptr;
        return object;
    }

    gl::GLuint Name() const { return name_; }
    explicit operator bool() const { return name_ != 0; }
    // Hands the name on: the owner is then empty and deletes nothing.
    gl::GLuint Release() {
        const gl::GLuint name = name_;
        name_ = 0;
        return name;
    }

  private:
    void Delete() {
        if (name_ != 0 && wglGetCurrentContext() == context_) {
            DeleteGlName(kind, name_);
        }
        name_ = 0;
    }

    gl::GLuint name_ = 0;
    HGLRC context_ = nullptr;
};

using GlTexture = GlObject<GlKind::Texture>;
using GlBuffer = GlObject<GlKind::Buffer>;
using GlFramebuffer = GlObject<GlKind::Framebuffer>;
using GlVertexArray = GlObject<GlKind::VertexArray>;
using GlShader = GlObject<GlKind::Shader>;
using GlProgram = GlObject<GlKind::Program>;

}  // namespace AESDK_OpenGL
