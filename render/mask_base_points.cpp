#include "render/mask_base_points.h"

#include <algorithm>
#include <cmath>

MaskPoint& MaskBasePoints::operator[](double key) {
    if (entries_.empty() || entries_.back().key < key) {
        entries_.push_back(MaskBasePoint{key, MaskPoint{0.0, 0.0}});
        return entries_.back().point;
    }
    const size_t index = LowerBound(key);
    if (index < entries_.size() && entries_[index].key == key) {
        return entries_[index].point;
    }
    return entries_
        .insert(entries_.begin() + static_cast<std::ptrdiff_t>(index),
                MaskBasePoint{key, MaskPoint{0.0, 0.0}})
        ->point;
}

MaskBasePoints MaskBasePoints::Inverted() const {
    MaskBasePoints inverted;
    inverted.entries_.reserve(entries_.size());
    // Walking backwards gives the new keys in ascending order. Two keys that meet after the
    // rounding of 1 - k keep the point of the larger original key, as storing the entries in
    // ascending order one after the other would.
    for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
        const double key = 1.0 - entry->key;
        if (inverted.entries_.empty() || inverted.entries_.back().key < key) {
            inverted.entries_.push_back(MaskBasePoint{key, entry->point});
        }
    }
    return inverted;
}

size_t MaskBasePoints::LowerBound(double u) const {
    const size_t count = entries_.size();
    if (count == 0 || !(u > entries_.front().key)) {
        return 0;  // also for NaN, as a binary search would give
    }
    if (u > entries_.back().key) {
        return count;
    }
    const double first = entries_.front().key;
    const double span = entries_.back().key - first;
    const double guess = std::ceil((u - first) / span * static_cast<double>(count - 1));
    size_t index = static_cast<size_t>(std::clamp(guess, 0.0, static_cast<double>(count - 1)));
    while (index > 0 && !(entries_[index - 1].key < u)) {
        --index;
    }
    while (index < count && entries_[index].key < u) {
        ++index;
    }
    return index;
}

MaskPoint MaskPointAt(const MaskBasePoints& table, double u) {
    if (table.size() < 2) {
        return table.empty() ? MaskPoint{0.0, 0.0} : table.front().point;
    }
    if (u < 0.0) {
        const MaskBasePoint& first = table(0);
        const MaskBasePoint& second = table(1);
        const double f = u / (second.key - first.key);
        return {first.point.x + f * (second.point.x - first.point.x),
                first.point.y + f * (second.point.y - first.point.y)};
    }
    if (u > 1.0) {
        const MaskBasePoint& previous = table(table.size() - 2);
        const MaskBasePoint& last = table.back();
        const double f = (u - 1.0) / (last.key - previous.key);
        return {last.point.x + f * (last.point.x - previous.point.x),
                last.point.y + f * (last.point.y - previous.point.y)};
    }
    const size_t index = table.LowerBound(u);
    if (index == 0) {
        return table.front().point;
    }
    if (index == table.size()) {
        return table.back().point;
    }
    const MaskBasePoint& below = table(index - 1);
    const MaskBasePoint& above = table(index);
    const double f = (u - below.key) / (above.key - below.key);
    return {f * above.point.x + (1.0 - f) * below.point.x,
            f * above.point.y + (1.0 - f) * below.point.y};
}
