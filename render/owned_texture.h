#pragma once

#include <glbinding/gl/types.h>

// One OpenGL texture name of the current context, deleted at the end of the owner's scope
// unless Release hands it on.
class OwnedTexture {
  public:
    OwnedTexture() = default;
    explicit OwnedTexture(gl::GLuint texture) : texture_(texture) {}
    ~OwnedTexture();
    OwnedTexture(const OwnedTexture&) = delete;
    OwnedTexture& operator=(const OwnedTexture&) = delete;

    // Takes texture in place of an owned one, which is deleted.
    void Adopt(gl::GLuint texture);
    // Adopts a newly generated name.
    void Generate();
    gl::GLuint Get() const { return texture_; }
    gl::GLuint Release();

  private:
    gl::GLuint texture_ = 0;
};
