#include "render/matrix.h"

#include <cstring>

void MultiplyMatrix4Vector(const float matrix[16], float out[4], const float vector[4]) {
    float result[4];
    for (int r = 0; r < 4; ++r) {
        result[r] = matrix[r] * vector[0] + matrix[4 + r] * vector[1] + matrix[8 + r] * vector[2] +
                    matrix[12 + r] * vector[3];
    }
    std::memcpy(out, result, sizeof(result));
}

void MultiplyMatrix4(const float left[16], float out[16], const float right[16]) {
    float result[16];
    for (int column = 0; column < 4; ++column) {
        MultiplyMatrix4Vector(left, result + 4 * column, right + 4 * column);
    }
    std::memcpy(out, result, sizeof(result));
}

void TranslationMatrix4(float x, float y, float z, float out[16]) {
    const float matrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
    std::memcpy(out, matrix, sizeof(matrix));
}

void ScaleMatrix4(float x, float y, float z, float out[16]) {
    const float matrix[16] = {x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0, 0, 0, 0, 1};
    std::memcpy(out, matrix, sizeof(matrix));
}

void PixelToClipProjection(int width, int height, float out[16]) {
    float translation[16];
    float scale[16];
    TranslationMatrix4(-1.0f, -1.0f, 0.0f, translation);
    ScaleMatrix4(2.0f / static_cast<float>(width), 2.0f / static_cast<float>(height), 1.0f, scale);
    MultiplyMatrix4(translation, out, scale);
}
