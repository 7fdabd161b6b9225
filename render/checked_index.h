#pragma once

#include <cstddef>
#include <stdexcept>
#include <vector>

// Element index of a vector, raising std::out_of_range ("invalid vector subscript") past its
// end: a short list of positions ends the frame instead of reading beyond it.
template <typename T>
const T& CheckedAt(const std::vector<T>& values, size_t index) {
    if (index >= values.size()) {
        throw std::out_of_range("invalid vector subscript");
    }
    return values[index];
}
