#include "host/pixel_access.h"

#include <algorithm>
#include <cstring>

#include "host/frame_hooks.h"
#include "host/world.h"

namespace quorvel::host {

namespace {

template <typename Pixel>
PF_Err PixelData(const char* function, PF_EffectWorld* effectWorld, Depth depth, PF_PixelPtr pixels,
                 Pixel** out) {
    if (out == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *out = nullptr;
    const CallFault fault = FaultFor(function);
    if (fault.code != PF_Err_NONE || fault.giveNull) {
        return fault.code;
    }
    World* world = World::Find(effectWorld);
    if (world == nullptr || world->PixelDepth() != depth) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *out = reinterpret_cast<Pixel*>(pixels != nullptr ? pixels : effectWorld->data);
    return PF_Err_NONE;
}

}  // namespace

PF_Err GetPixelData8(PF_EffectWorld* world, PF_PixelPtr pixels, PF_Pixel8** out) {
    return PixelData("get_pixel_data8", world, Depth::Bits8, pixels, out);
}

PF_Err GetPixelData16(PF_EffectWorld* world, PF_PixelPtr pixels, PF_Pixel16** out) {
    return PixelData("get_pixel_data16", world, Depth::Bits16, pixels, out);
}

PF_Err GetPixelDataFloat(PF_EffectWorld* world, PF_PixelPtr pixels, PF_PixelFloat** out) {
    return PixelData("get_pixel_data_float", world, Depth::Float, pixels, out);
}

PF_Err GetPixelFormat(const PF_EffectWorld* effectWorld, PF_PixelFormat* format) {
    const PF_Err fault = FaultFor("PF_GetPixelFormat").code;
    if (fault != PF_Err_NONE) {
        return fault;
    }
    const World* world = World::Find(effectWorld);
    if (world == nullptr || format == nullptr) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *format = PixelFormatOf(world->PixelDepth());
    return PF_Err_NONE;
}

PF_Err IterateFloat(PF_InData*, A_long, A_long, PF_EffectWorld* src, const PF_Rect* area,
                    void* refcon, PF_IteratePixelFloatFunc function, PF_EffectWorld* dst) {
    const PF_Err fault = FaultFor("iterate").code;
    if (fault != PF_Err_NONE) {
        return fault;
    }
    World* target = World::Find(dst);
    World* source = src != nullptr ? World::Find(src) : nullptr;
    if (target == nullptr || function == nullptr || target->PixelDepth() != Depth::Float ||
        (src != nullptr && (source == nullptr || source->PixelDepth() != Depth::Float))) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    PF_Rect rect = {0, 0, target->Width(), target->Height()};
    if (area != nullptr) {
        rect = {std::max(area->left, rect.left), std::max(area->top, rect.top),
                std::min(area->right, rect.right), std::min(area->bottom, rect.bottom)};
    }
    // Rows of any length may leave pixels unaligned: they are copied in and out.
    for (A_long y = rect.top; y < rect.bottom; ++y) {
        unsigned char* out = target->Row(y);
        const unsigned char* in =
            source != nullptr && y < source->Height() ? source->Row(y) : nullptr;
        for (A_long x = rect.left; x < rect.right; ++x) {
            PF_PixelFloat inPixel = {0, 0, 0, 0};
            if (in != nullptr && x < source->Width()) {
                std::memcpy(&inPixel, in + x * sizeof(PF_PixelFloat), sizeof(PF_PixelFloat));
            }
            PF_PixelFloat outPixel;
            std::memcpy(&outPixel, out + x * sizeof(PF_PixelFloat), sizeof(PF_PixelFloat));
            const PF_Err err = function(refcon, x, y, &inPixel, &outPixel);
            std::memcpy(out + x * sizeof(PF_PixelFloat), &outPixel, sizeof(PF_PixelFloat));
            if (err != PF_Err_NONE) {
                return err;
            }
        }
    }
    return PF_Err_NONE;
}

}  // namespace quorvel::host
