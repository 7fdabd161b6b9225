#pragma once

// 4 x 4 matrices of floats in column-major order (row r, column c at index 4c + r), the layout
// glUniformMatrix4fv takes without transposition.

// out = left x right. out may be the same storage as left or right.
void MultiplyMatrix4(const float left[16], float out[16], const float right[16]);

// out = matrix x vector.
void MultiplyMatrix4Vector(const float matrix[16], float out[4], const float vector[4]);

void TranslationMatrix4(float x, float y, float z, float out[16]);
void ScaleMatrix4(float x, float y, float z, float out[16]);

// Maps pixel (x, y) of a width x height pass to clip space: translate(-1, -1, 0) x
// scale(2 / width, 2 / height, 1).
void PixelToClipProjection(int width, int height, float out[16]);
