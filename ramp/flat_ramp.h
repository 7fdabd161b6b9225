#pragma once

#include <cstddef>
#include <cstdint>

#include "host_api/effect.h"
#include "ramp/ramp.h"

// The saved form of a Ramp, as the host keeps it in project files: little-endian and packed,
// no magic, version or checksum. count FlatRampPoint records follow the header in ascending t.
#pragma pack(push, 1)
struct FlatRamp {
    int32_t mode;
    int32_t interpolation;
    int32_t count;
};

struct FlatRampPoint {
    float t;
    float v;
};
#pragma pack(pop)

constexpr uint32_t kFlatRampHeaderSize = 12;
constexpr uint32_t kFlatRampPointSize = 8;
static_assert(sizeof(FlatRamp) == kFlatRampHeaderSize, "a 12-byte header");
static_assert(sizeof(FlatRampPoint) == kFlatRampPointSize, "a flat point is two floats");

// Restores a flat record of size bytes into a Ramp that holds a point map (normally NEW's
// default). Returns 0, or PF_Err_INTERNAL_STRUCT_DAMAGED for a record cut short, keeping
// whatever was read before the cut. A point whose key is not finite is left out.
PF_Err ReadFlatRamp(const void* buffer, A_u_long size, Ramp* ramp);
