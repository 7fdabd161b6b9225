#include "render/mapped_buffer.h"

#include <glbinding/gl/gl.h>

using namespace gl;

MappedBuffer::MappedBuffer(GLuint vertexArray, GLenum target, GLuint buffer)
    : vertexArray_(vertexArray), target_(target), buffer_(buffer), data_(nullptr) {
    glBindBuffer(target_, buffer_);
    data_ = glMapBuffer(target_, GL_WRITE_ONLY);
}

MappedBuffer::~MappedBuffer() {
    if (!open_) {
        return;
    }
    glBindVertexArray(vertexArray_);
    if (data_ != nullptr) {
        glBindBuffer(target_, buffer_);
        glUnmapBuffer(target_);
    }
    glBindBuffer(target_, 0);
    glBindVertexArray(0);
}

bool MappedBuffer::Unmap() {
    open_ = false;
    if (data_ == nullptr) {
        glBindBuffer(target_, 0);
        return false;
    }
    data_ = nullptr;
    const GLboolean intact = glUnmapBuffer(target_);
    glBindBuffer(target_, 0);
    return intact == GL_TRUE;
}
