#pragma once
// The surface points of one calculation: coordinates and 1-Cp at indices 0..NP.

#include <algorithm>
#include <cstddef>
#include <vector>

namespace orvek {

// Index 0 is never used; index 1 and index NP are the trailing edge, indices 2 up to the middle run
// along the lower surface to the leading edge, the rest along the upper surface back. Entries the
// solver does not reach (the leading edge of an F = 0 airfoil) are unset: they hold 0, which is how
// every reader treats them, and their indices are listed in `unset` (ascending, index 0 excluded).
struct SurfacePoints {
    std::vector<double> x;
    std::vector<double> y;
    std::vector<double> Cu;  // 1-Cp
    std::vector<std::size_t> unset;

    std::size_t size() const { return x.size(); }
    bool isSet(std::size_t i) const {
        return i > 0 && i < x.size() && !std::binary_search(unset.begin(), unset.end(), i);
    }
};

// The index of the foremost set point, the leading edge; 1 when no point is set.
inline std::size_t leadingEdgeIndex(const SurfacePoints& p) {
    std::size_t front = 0;
    for (std::size_t i = 1; i < p.size(); ++i) {
        if (p.isSet(i) && (front == 0 || p.x[i] < p.x[front])) front = i;
    }
    return front == 0 ? 1 : front;
}

// Reads entry i of an array, 0 when it lies outside (the "unset reads as 0" rule).
inline double entryOrZero(const std::vector<double>& a, std::size_t i) { return i < a.size() ? a[i] : 0.0; }

}  // namespace orvek
