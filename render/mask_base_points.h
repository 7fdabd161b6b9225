#pragma once

#include <cstddef>
#include <vector>

// A point in the layer's path space, as the host's path evaluation returns it.
struct MaskPoint {
    double x;
    double y;
};

struct MaskBasePoint {
    double key;
    MaskPoint point;
};

// The base points of one mask: an ordered map from a parameter key (ascending, unique) to a
// point. Kept as a sorted array: the keys are nearly evenly spaced, so a look-up starts at
// the key's proportional place and is exact after a step or two.
class MaskBasePoints {
  public:
    // The point stored under key, created as (0, 0) when the key is new.
    MaskPoint& operator[](double key);

    // The table with every entry of key k moved to key 1 - k.
    MaskBasePoints Inverted() const;

    // Index of the first entry whose key is not less than u (size() when there is none).
    size_t LowerBound(double u) const;

    size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    const MaskBasePoint& operator()(size_t index) const { return entries_[index]; }
    const MaskBasePoint& front() const { return entries_.front(); }
    const MaskBasePoint& back() const { return entries_.back(); }
    void reserve(size_t count) { entries_.reserve(count); }

  private:
    std::vector<MaskBasePoint> entries_;
};

// The mask's point at parameter u: linear between neighbouring base points, continuing the
// first or last step beyond the ends. A table of fewer than two points gives its only point,
// or (0, 0) when empty.
MaskPoint MaskPointAt(const MaskBasePoints& table, double u);

// MaskPointAt of two tables with the same keys (both masks sampled alike) at one u: the
// search is made once for both.
void MaskPointsAt(const MaskBasePoints& first, const MaskBasePoints& second, double u,
                  MaskPoint* onFirst, MaskPoint* onSecond);

// Whether two tables have exactly the same keys.
bool SameKeys(const MaskBasePoints& first, const MaskBasePoints& second);
