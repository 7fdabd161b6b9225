#include "render/owned_texture.h"

#include <glbinding/gl/gl.h>

OwnedTexture::~OwnedTexture() {
    if (texture_ != 0) {
        gl::glDeleteTextures(1, &texture_);
    }
}

void OwnedTexture::Adopt(gl::GLuint texture) {
    if (texture_ != 0) {
        gl::glDeleteTextures(1, &texture_);
    }
    texture_ = texture;
}

void OwnedTexture::Generate() {
    gl::GLuint texture = 0;
    gl::glGenTextures(1, &texture);
    Adopt(texture);
}

gl::GLuint OwnedTexture::Release() {
    const gl::GLuint texture = texture_;
    texture_ = 0;
    return texture;
}
