#include "ramp/flat_ramp.h"

#include <cmath>
#include <cstring>

namespace {

// The record is little-endian whatever the machine, and its fields are not aligned.
void StoreWord(unsigned char* out, uint32_t word) {
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<unsigned char>(word >> (8 * i));
    }
}

uint32_t LoadWord(const unsigned char* in) {
    uint32_t word = 0;
    for (int i = 0; i < 4; ++i) {
        word |= uint32_t(in[i]) << (8 * i);
    }
    return word;
}

void StoreFloat(unsigned char* out, float value) {
    uint32_t word;
    std::memcpy(&word, &value, sizeof word);
    StoreWord(out, word);
}

float LoadFloat(const unsigned char* in) {
    const uint32_t word = LoadWord(in);
    float value;
    std::memcpy(&value, &word, sizeof value);
    return value;
}

int32_t LoadInt(const unsigned char* in) {
    const uint32_t word = LoadWord(in);
    int32_t value;
    std::memcpy(&value, &word, sizeof value);
    return value;
}

}  // namespace

int32_t Ramp::Flatten(void* buffer) const {
    const size_t count = points == nullptr ? 0 : points->size();
    const int32_t size = int32_t(kFlatRampHeaderSize + kFlatRampPointSize * count);
    if (buffer == nullptr) {
        return size;
    }
    unsigned char* out = static_cast<unsigned char*>(buffer);
    StoreWord(out + offsetof(FlatRamp, mode), uint32_t(mode));
    StoreWord(out + offsetof(FlatRamp, interpolation), uint32_t(interpolation));
    StoreWord(out + offsetof(FlatRamp, count), uint32_t(count));
    out += kFlatRampHeaderSize;
    if (points != nullptr) {
        for (const auto& [t, v] : *points) {
            StoreFloat(out + offsetof(FlatRampPoint, t), t);
            StoreFloat(out + offsetof(FlatRampPoint, v), v);
            out += kFlatRampPointSize;
        }
    }
    return size;
}

PF_Err ReadFlatRamp(const void* buffer, A_u_long size, Ramp* ramp) {
    const unsigned char* in = static_cast<const unsigned char*>(buffer);
    if (in == nullptr) {
        size = 0;
    }
    if (size < offsetof(FlatRamp, mode) + 4) {
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
    ramp->mode = LoadInt(in + offsetof(FlatRamp, mode));
    if (size < offsetof(FlatRamp, interpolation) + 4) {
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
    ramp->interpolation = LoadInt(in + offsetof(FlatRamp, interpolation));
    if (size < offsetof(FlatRamp, count) + 4) {
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
    const int32_t count = LoadInt(in + offsetof(FlatRamp, count));
    ramp->points->clear();
    for (int64_t i = 0; i < count; ++i) {
        const uint64_t offset = kFlatRampHeaderSize + kFlatRampPointSize * uint64_t(i);
        if (offset + kFlatRampPointSize > size) {
            return PF_Err_INTERNAL_STRUCT_DAMAGED;
        }
        const float t = LoadFloat(in + offset + offsetof(FlatRampPoint, t));
        // A key that is not a number, or infinite, has no place on the curve over [0, 1]: it
        // breaks the map's ordering or turns the curve's areas into infinities. The rest of the
        // record is still the user's curve.
        if (!std::isfinite(t)) {
            continue;
        }
        (*ramp->points)[t] = LoadFloat(in + offset + offsetof(FlatRampPoint, v));
    }
    return PF_Err_NONE;
}
