#include "render/mask_base_points.h"

#include <algorithm>

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
    // u lies in (first, last]: the proportional place is in [0, count - 1].
    const double guess = (u - first) / span * static_cast<double>(count - 1);
    size_t index = std::min(static_cast<size_t>(guess), count - 1);
    while (index > 0 && !(entries_[index - 1].key < u)) {
        --index;
    }
    while (index < count && entries_[index].key < u) {
        ++index;
    }
    return index;
}

namespace {

// Where u falls in a table of at least two entries: the two entries whose points are mixed
// and the weight of the second, so that the point is a + f (b - a).
struct Span {
    size_t a;
    size_t b;
    double f;
};

Span SpanAt(const MaskBasePoints& table, double u) {
    const size_t count = table.size();
    if (u < 0.0) {
        return {0, 1, u / (table(1).key - table(0).key)};
    }
    if (u > 1.0) {
        // Beyond the last point: last + f (last - previous), as a + f (b - a) with a = last.
        return {count - 1, count - 2, -(u - 1.0) / (table(count - 1).key - table(count - 2).key)};
    }
    const size_t index = table.LowerBound(u);
    if (index == 0) {
        return {0, 0, 0.0};
    }
    if (index == count) {
        return {count - 1, count - 1, 0.0};
    }
    return {index - 1, index,
            (u - table(index - 1).key) / (table(index).key - table(index - 1).key)};
}

MaskPoint PointOf(const MaskBasePoints& table, const Span& span, double u) {
    const MaskPoint a = table(span.a).point;
    const MaskPoint b = table(span.b).point;
    if (u < 0.0) {
        return {a.x + span.f * (b.x - a.x), a.y + span.f * (b.y - a.y)};
    }
    if (u > 1.0) {
        const double f = -span.f;
        return {a.x + f * (a.x - b.x), a.y + f * (a.y - b.y)};
    }
    if (span.a == span.b) {
        return a;
    }
    return {span.f * b.x + (1.0 - span.f) * a.x, span.f * b.y + (1.0 - span.f) * a.y};
}

MaskPoint Degenerate(const MaskBasePoints& table) {
    return table.empty() ? MaskPoint{0.0, 0.0} : table.front().point;
}

}  // namespace

MaskPoint MaskPointAt(const MaskBasePoints& table, double u) {
    if (table.size() < 2) {
        return Degenerate(table);
    }
    return PointOf(table, SpanAt(table, u), u);
}

void MaskPointsAt(const MaskBasePoints& first, const MaskBasePoints& second, double u,
                  MaskPoint* onFirst, MaskPoint* onSecond) {
    if (first.size() < 2) {
        *onFirst = Degenerate(first);
        *onSecond = MaskPointAt(second, u);
        return;
    }
    const Span span = SpanAt(first, u);
    *onFirst = PointOf(first, span, u);
    *onSecond = PointOf(second, span, u);
}

bool SameKeys(const MaskBasePoints& first, const MaskBasePoints& second) {
    if (first.size() != second.size()) {
        return false;
    }
    for (size_t i = 0; i < first.size(); ++i) {
        if (first(i).key != second(i).key) {
            return false;
        }
    }
    return true;
}
