#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "host_api/aegp.h"

namespace quorvel::host {

// One mask of the effect's layer as the AEGP mask suites show it: its name, its colour, and
// its outline as vertices in layer pixels with their tangents (offsets from the vertex), open
// or closed.
struct LayerMask {
    // The outline's segments: one from each vertex to the next, and on a closed outline one
    // from the last back to the first; none without vertices.
    int SegmentCount() const;

    std::string name;  // UTF-8
    AEGP_ColorVal colour = {1, 1, 1, 1};
    bool closed = true;
    std::vector<AEGP_MaskVertex> vertices;
};

// The masks of the effect's layer, in order (the host's State<LayerMasks>()). Safe to use
// from several threads.
class LayerMasks {
  public:
    void Set(std::vector<LayerMask> masks);
    std::vector<LayerMask> Get() const;
    int Count() const;
    // A copy of the mask at index; false for an index that names none.
    bool At(int index, LayerMask* mask) const;

  private:
    mutable std::mutex mutex_;
    std::vector<LayerMask> masks_;
};

// A vertex at (x, y) with tangents, as the host's mask editor places them.
AEGP_MaskVertex MaskVertexAt(double x, double y, double inX = 0, double inY = 0, double outX = 0,
                             double outY = 0);

}  // namespace quorvel::host
