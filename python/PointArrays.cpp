#include "python/PointArrays.h"

#include <limits>
#include <memory>
#include <utility>

namespace py = pybind11;

namespace orvek::python {

PointArrays pointArrays(SurfacePoints&& points) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const std::size_t i : points.unset) points.x[i] = points.y[i] = points.Cu[i] = nan;

    auto owned = std::make_unique<SurfacePoints>(std::move(points));
    SurfacePoints& p = *owned;
    // One owner for the three arrays: the vectors are freed when the last array goes.
    const py::capsule owner(owned.release(), [](void* q) { delete static_cast<SurfacePoints*>(q); });
    const py::ssize_t n = p.size() > 0 ? static_cast<py::ssize_t>(p.size()) - 1 : 0;
    const auto view = [&](std::vector<double>& v) {
        return py::array_t<double>({n}, {static_cast<py::ssize_t>(sizeof(double))}, v.empty() ? nullptr : v.data() + 1,
                                   owner);
    };
    return {view(p.x), view(p.y), view(p.Cu)};
}

}  // namespace orvek::python
