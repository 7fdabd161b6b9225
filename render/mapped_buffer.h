#pragma once

#include <glbinding/gl/types.h>

// A buffer mapped write-only for one build. Unmap() ends the mapping in the normal order. A
// guard that goes without it (a failed mapping, or a failure during the fill) unmaps what is
// still mapped, with the buffer's vertex array bound again so that the next frame can map it,
// and leaves the target and the vertex array unbound.
class MappedBuffer {
  public:
    // Binds buffer to target (the caller has bound vertexArray) and maps it.
    MappedBuffer(gl::GLuint vertexArray, gl::GLenum target, gl::GLuint buffer);
    ~MappedBuffer();
    MappedBuffer(const MappedBuffer&) = delete;
    MappedBuffer& operator=(const MappedBuffer&) = delete;

    // The mapped memory; null when the mapping failed.
    void* Data() const { return data_; }

    // Unmaps and binds 0 to the target. False when there was no mapping or OpenGL reports
    // that the buffer's contents were lost while mapped.
    bool Unmap();

  private:
    gl::GLuint vertexArray_;
    gl::GLenum target_;
    gl::GLuint buffer_;
    void* data_;
    bool open_ = true;
};
