#pragma once
// The flow on a grid as a legacy VTK file, the format ParaView and VisIt open: a binary
// STRUCTURED_POINTS data set (big-endian, as the format requires) with the point arrays
// `velocity` (3 components, the third 0), `Cp`, `psi` and `body` (unsigned char, 1 inside the
// airfoil). Values inside the airfoil are NaN, which the binary form carries.
//
// The file is laid out whole when it is created and filled a block of points at a time, so a
// large grid needs the file's own bytes and one block of values, never all values twice.

#include <cstddef>
#include <string>

namespace orvek {

struct GridShape {
    std::size_t nx = 2, ny = 2;  // points along x and y; x runs fastest
    double x0 = 0, y0 = 0;       // the first point
    double dx = 1, dy = 1;       // spacing
    double x1 = 1, y1 = 1;       // the last point, exactly as asked (not x0 + (nx - 1) dx rounded)

    // A grid from (x0, y0) to (x1, y1) with nx by ny points.
    static GridShape spanning(double x0, double x1, std::size_t nx, double y0, double y1, std::size_t ny) {
        return {nx, ny, x0, y0, (x1 - x0) / static_cast<double>(nx - 1), (y1 - y0) / static_cast<double>(ny - 1),
                x1, y1};
    }
    double xAt(std::size_t i) const { return i + 1 == nx ? x1 : x0 + static_cast<double>(i) * dx; }
    double yAt(std::size_t j) const { return j + 1 == ny ? y1 : y0 + static_cast<double>(j) * dy; }
};

class VtkGridFile {
public:
    // `title` becomes the file's title line (line breaks replaced, at most 255 bytes).
    VtkGridFile(const GridShape& shape, const std::string& title);

    // The values of `count` points from the point `first` on (x fastest: point i + j nx is
    // (x0 + i dx, y0 + j dy)); a NaN velocity marks a point of the body.
    void setPoints(std::size_t first, std::size_t count, const double* u, const double* v, const double* cp,
                   const double* psi);

    // The file; points never set hold zeros.
    const std::string& bytes() const { return bytes_; }
    std::string take() { return std::move(bytes_); }

private:
    GridShape shape_;
    std::string bytes_;
    std::size_t velocityAt_ = 0, cpAt_ = 0, psiAt_ = 0, bodyAt_ = 0;  // offsets of the arrays' data
};

}  // namespace orvek
