#include "host/world.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <map>
#include <new>
#include <stdexcept>

namespace quorvel::host {

namespace {

struct DepthRow {
    Depth depth;
    PF_PixelFormat format;
    size_t bytesPerPixel;
    float white;
};

constexpr DepthRow kDepths[] = {
    {Depth::Bits8, PF_PixelFormat_ARGB32, 4, 255.0f},
    {Depth::Bits16, PF_PixelFormat_ARGB64, 8, 32768.0f},
    {Depth::Float, PF_PixelFormat_ARGB128, 16, 1.0f},
};

const DepthRow& RowOf(Depth depth) {
    for (const DepthRow& row : kDepths) {
        if (row.depth == depth) {
            return row;
        }
    }
    throw std::invalid_argument("unknown pixel depth");
}

std::mutex& LiveMutex() {
    static std::mutex mutex;
    return mutex;
}

std::map<const PF_EffectWorld*, World*>& LiveWorlds() {
    static std::map<const PF_EffectWorld*, World*> worlds;
    return worlds;
}

}  // namespace

PF_PixelFormat PixelFormatOf(Depth depth) {
    return RowOf(depth).format;
}
size_t BytesPerPixelOf(Depth depth) {
    return RowOf(depth).bytesPerPixel;
}
float WhiteOf(Depth depth) {
    return RowOf(depth).white;
}

World::World(Depth depth, A_long width, A_long height, A_long rowPadding, Pixels pixels)
    : depth_(depth) {
    if (width < 0 || height < 0 || rowPadding < 0) {
        throw std::invalid_argument("negative world size");
    }
    const size_t rowBytes =
        static_cast<size_t>(width) * BytesPerPixelOf(depth) + static_cast<size_t>(rowPadding);
    if (rowBytes > 0x7FFFFFFF) {
        throw std::invalid_argument("world rows too long");
    }
    const size_t bytes = rowBytes * static_cast<size_t>(height);
    if (pixels == Pixels::Unset) {
        unset_ = PooledBlock(bytes);
        if (unset_.Get() == nullptr) {
            throw std::bad_alloc();
        }
        pixels_ = unset_.Get();
    } else {
        cleared_.assign(bytes, 0);
        pixels_ = cleared_.data();
    }
    world_.world_flags = PF_WorldFlag_WRITEABLE | (depth == Depth::Bits16 ? PF_WorldFlag_DEEP : 0);
    world_.data = reinterpret_cast<PF_PixelPtr>(pixels_);
    world_.rowbytes = static_cast<A_long>(rowBytes);
    world_.width = width;
    world_.height = height;
    world_.extent_hint = {0, 0, width, height};
    world_.pix_aspect_ratio = {1, 1};
    std::lock_guard<std::mutex> lock(LiveMutex());
    LiveWorlds()[&world_] = this;
}

World::~World() {
    std::lock_guard<std::mutex> lock(LiveMutex());
    LiveWorlds().erase(&world_);
}

World* World::Find(const PF_EffectWorld* effectWorld) {
    std::lock_guard<std::mutex> lock(LiveMutex());
    const auto found = LiveWorlds().find(effectWorld);
    return found == LiveWorlds().end() ? nullptr : found->second;
}

PixelValue World::Pixel(A_long x, A_long y) const {
    const unsigned char* at = Row(y) + static_cast<size_t>(x) * BytesPerPixelOf(depth_);
    PixelValue value{};
    for (int c = 0; c < 4; ++c) {
        switch (depth_) {
            case Depth::Bits8:
                value[c] = at[c];
                break;
            case Depth::Bits16: {
                uint16_t channel;
                std::memcpy(&channel, at + 2 * c, sizeof(channel));
                value[c] = channel;
                break;
            }
            case Depth::Float:
                std::memcpy(&value[c], at + 4 * c, sizeof(float));
                break;
        }
    }
    return value;
}

void World::SetPixel(A_long x, A_long y, const PixelValue& value) {
    unsigned char* at = Row(y) + static_cast<size_t>(x) * BytesPerPixelOf(depth_);
    for (int c = 0; c < 4; ++c) {
        switch (depth_) {
            case Depth::Bits8:
                at[c] = static_cast<unsigned char>(std::clamp(value[c], 0.0f, 255.0f) + 0.5f);
                break;
            case Depth::Bits16: {
                const uint16_t channel =
                    static_cast<uint16_t>(std::clamp(value[c], 0.0f, 32768.0f) + 0.5f);
                std::memcpy(at + 2 * c, &channel, sizeof(channel));
                break;
            }
            case Depth::Float:
                std::memcpy(at + 4 * c, &value[c], sizeof(float));
                break;
        }
    }
}

void World::Fill(const PixelValue& value) {
    for (A_long y = 0; y < Height(); ++y) {
        for (A_long x = 0; x < Width(); ++x) {
            SetPixel(x, y, value);
        }
    }
}

void World::FillPadding(unsigned char value) {
    const size_t used = static_cast<size_t>(Width()) * BytesPerPixelOf(depth_);
    for (A_long y = 0; y < Height(); ++y) {
        std::memset(Row(y) + used, value, static_cast<size_t>(RowBytes()) - used);
    }
}

bool World::PaddingIs(unsigned char value) const {
    const size_t used = static_cast<size_t>(Width()) * BytesPerPixelOf(depth_);
    for (A_long y = 0; y < Height(); ++y) {
        const unsigned char* row = Row(y);
        for (size_t i = used; i < static_cast<size_t>(RowBytes()); ++i) {
            if (row[i] != value) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace quorvel::host
