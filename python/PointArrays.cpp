#include "python/PointArrays.h"

#include <limits>
#include <memory>
#include <utility>

namespace py = pybind11;
namespace detail = pybind11::detail;

namespace orvek::python {

PointArrays pointArrays(SurfacePoints&& points) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const std::size_t i : points.unset) points.x[i] = points.y[i] = points.Cu[i] = nan;

    auto owned = std::make_unique<SurfacePoints>(std::move(points));
    SurfacePoints& p = *owned;
    // One owner for the three arrays: the vectors are freed when the last array goes.
    const py::capsule owner(owned.release(), [](void* q) { delete static_cast<SurfacePoints*>(q); });
    // numpy's own constructor, called directly: pybind11's array constructors first copy shape and
    // strides into vectors, a cost that counts in a call of a few microseconds.
    const detail::npy_api& api = detail::npy_api::get();
    Py_intptr_t length = p.size() > 0 ? static_cast<Py_intptr_t>(p.size()) - 1 : 0;
    const auto view = [&](std::vector<double>& v) {
        PyObject* a =
            api.PyArray_NewFromDescr_(api.PyArray_Type_, api.PyArray_DescrFromType_(detail::npy_api::NPY_DOUBLE_), 1,
                                      &length, nullptr, v.data() + 1, detail::npy_api::NPY_ARRAY_WRITEABLE_, nullptr);
        if (a == nullptr) throw py::error_already_set();
        auto array = py::reinterpret_steal<py::array_t<double>>(a);
        if (api.PyArray_SetBaseObject_(a, owner.inc_ref().ptr()) != 0) throw py::error_already_set();
        return array;
    };
    return {view(p.x), view(p.y), view(p.Cu)};
}

}  // namespace orvek::python
