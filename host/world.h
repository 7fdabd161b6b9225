#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "host/memory_pool.h"
#include "host_api/effect.h"

namespace quorvel::host {

// The three pixel depths the host renders in: 8 bits (0 to 255), 16 bits (0 to 32768) and
// 32-bit float, each pixel four channels in the memory order alpha, red, green, blue.
enum class Depth { Bits8, Bits16, Float };

// A channel value in the depth's own units, for any depth.
using PixelValue = std::array<float, 4>;

PF_PixelFormat PixelFormatOf(Depth depth);
size_t BytesPerPixelOf(Depth depth);
// The largest channel value of a depth (255, 32768, 1).
float WhiteOf(Depth depth);

// What a new world's pixels hold: transparent black, or nothing yet, for an output that the
// effect writes whole (its memory is recycled from worlds that are gone, see memory_pool.h).
enum class Pixels { Cleared, Unset };

// A layer world owned by the host: pixel memory with any row length at or above width x
// bytes per pixel, and the PF_EffectWorld record the effect sees. Live worlds are registered,
// so that a world pointer coming back from the effect can be checked.
class World {
  public:
    // rowPadding: extra bytes at the end of every row.
    World(Depth depth, A_long width, A_long height, A_long rowPadding = 0,
          Pixels pixels = Pixels::Cleared);
    ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // The live host world behind an effect world record, or null.
    static World* Find(const PF_EffectWorld* effectWorld);

    PF_EffectWorld* Effect() { return &world_; }
    const PF_EffectWorld* Effect() const { return &world_; }
    Depth PixelDepth() const { return depth_; }
    A_long Width() const { return world_.width; }
    A_long Height() const { return world_.height; }
    A_long RowBytes() const { return world_.rowbytes; }
    unsigned char* Row(A_long y) { return pixels_ + static_cast<size_t>(y) * RowBytes(); }
    const unsigned char* Row(A_long y) const {
        return pixels_ + static_cast<size_t>(y) * RowBytes();
    }

    PixelValue Pixel(A_long x, A_long y) const;
    void SetPixel(A_long x, A_long y, const PixelValue& value);
    void Fill(const PixelValue& value);
    // The padding bytes of every row, set to one value (to see that nothing writes them).
    void FillPadding(unsigned char value);
    bool PaddingIs(unsigned char value) const;

  private:
    Depth depth_;
    std::vector<unsigned char> cleared_;
    PooledBlock unset_;
    unsigned char* pixels_ = nullptr;
    PF_EffectWorld world_{};
};

}  // namespace quorvel::host
