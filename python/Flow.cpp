#include "python/Numbers.h"  // first: the module's reading of numbers

#include "python/Flow.h"

#include "python/Raise.h"
#include "python/WithoutGil.h"
#include "solver/ShortestText.h"
#include "solver/flow/FlowField.h"
#include "solver/flow/Streamlines.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace py = pybind11;
using namespace pybind11::literals;

namespace orvek::python {

namespace {

using Doubles = py::array_t<double, py::array::c_style | py::array::forcecast>;

// The flow at a set of points: four arrays shaped like the points.
struct FieldValues {
    Airfoil airfoil;
    double alpha = 0;
    py::array_t<double> u, v, cp, psi;
};

FlowField flowOf(const Airfoil& airfoil, double alpha, std::optional<double> circulation) {
    return valueOrRaise(FlowField::make(airfoil, alpha, circulation));
}

// numpy's functions the field uses, looked up once when the module is imported: an import per
// call fails from __del__ at shutdown, and one under a static's guard deadlocks two threads.
// Never freed, as the interpreter may drop its modules before the last call ends. Both are
// written in C: numpy's Python functions (broadcast_arrays) run the interpreter's loop, which
// gives the GIL up now and then, and a daemon thread taking it back at shutdown is ended there
// by Python with this call's objects on its stack.
struct NumpyFunctions {
    py::object asarray, broadcast;
};
const NumpyFunctions* numpyFunctions = nullptr;

// `a` seen with the broadcast shape: a view whose strides are 0 along the dimensions it is
// repeated in (what numpy.broadcast_to gives).
py::array broadcastView(const py::array& a, const std::vector<py::ssize_t>& shape) {
    const auto n = static_cast<py::ssize_t>(shape.size());
    std::vector<py::ssize_t> strides(shape.size(), 0);
    for (py::ssize_t k = 0; k < a.ndim(); ++k) {
        const py::ssize_t to = n - a.ndim() + k;
        if (a.shape(k) == shape[static_cast<std::size_t>(to)]) strides[static_cast<std::size_t>(to)] = a.strides(k);
    }
    return {a.dtype(), shape, strides, a.data(), a};
}

// Coordinates as contiguous, aligned float64 arrays of one shape (numpy's broadcasting rules;
// a view into a byte buffer at an odd offset is copied, as the kernels read whole doubles);
// anything that is not numbers is a TypeError, as for the other arguments, shapes that do not
// broadcast numpy's ValueError, and a copy too large for memory numpy's MemoryError.
std::pair<Doubles, Doubles> points(const py::object& x, const py::object& y) {
    const NumpyFunctions& numpy = *numpyFunctions;
    const std::array<py::array, 2> given{numpy.asarray(x).cast<py::array>(), numpy.asarray(y).cast<py::array>()};
    const py::tuple broadcastShape = numpy.broadcast(given[0], given[1]).attr("shape");
    std::vector<py::ssize_t> shape;
    for (const py::handle extent : broadcastShape) shape.push_back(extent.cast<py::ssize_t>());
    std::array<Doubles, 2> out;
    for (std::size_t k = 0; k < 2; ++k) {
        const char kind = given[k].dtype().kind();
        if (kind != 'f' && kind != 'i' && kind != 'u' && kind != 'b') {
            throw py::type_error(std::string(k == 0 ? "x" : "y") + " must hold numbers, not the numpy type " +
                                 py::str(given[k].dtype()).cast<std::string>());
        }
        const py::array view = broadcastView(given[k], shape);
        using Api = py::detail::npy_api;
        PyObject* doubles = Api::get().PyArray_FromAny_(
            view.ptr(), py::dtype::of<double>().release().ptr(), 0, 0,
            Api::NPY_ARRAY_ENSUREARRAY_ | Api::NPY_ARRAY_C_CONTIGUOUS_ | Api::NPY_ARRAY_ALIGNED_ | Api::NPY_ARRAY_FORCECAST_,
            nullptr);
        if (doubles == nullptr) throw py::error_already_set();
        out[k] = py::reinterpret_steal<Doubles>(doubles);
    }
    return {std::move(out[0]), std::move(out[1])};
}

// The points evaluated between two looks at a stop request: a few milliseconds of work.
constexpr std::size_t FieldBlock = std::size_t{1} << 16;

// The four output arrays live in one block of fresh memory, freed with the last of them: the
// memory goes back to the system with the results, never kept for a later call.
double* fieldValues(std::size_t count, py::object& owner) {
    constexpr std::size_t MostPoints = std::numeric_limits<std::size_t>::max() / (4 * sizeof(double));
    std::unique_ptr<double[]> block(count <= MostPoints ? new (std::nothrow) double[4 * count] : nullptr);
    if (!block) {
        const std::string size = count <= MostPoints ? shortestText(static_cast<double>(4 * count * sizeof(double)) / 1e9) : "more";
        PyErr_SetString(PyExc_MemoryError, ("Cannot calculate the flow at " + std::to_string(count) +
                                            " points: their values need " + size +
                                            " GB, more memory than can be had.")
                                               .c_str());
        throw py::error_already_set();
    }
    double* values = block.get();
    owner = py::capsule(block.release(), [](void* b) { delete[] static_cast<double*>(b); });
    return values;
}

FieldValues field(const Airfoil& airfoil, double alpha, const py::object& x, const py::object& y,
                  std::optional<double> circulation) {
    const FlowField f = flowOf(airfoil, alpha, circulation);
    const auto [xs, ys] = points(x, y);
    const std::vector<py::ssize_t> shape(xs.shape(), xs.shape() + xs.ndim());
    const auto count = static_cast<std::size_t>(xs.size());
    // Beyond the field's reach the values would lose their accuracy: refused, not returned.
    const double* atX = xs.data();
    const double* atY = ys.data();
    for (std::size_t k = 0; k < count; ++k) {
        if (std::fabs(atX[k]) > FlowReach || std::fabs(atY[k]) > FlowReach) {
            throw py::value_error("Cannot calculate the flow: " + checkFlowPoint({atX[k], atY[k]}).error());
        }
    }
    py::object owner;
    double* values = fieldValues(count, owner);
    const auto part = [&](std::size_t k) { return py::array_t<double>(shape, values + k * count, owner); };
    FieldValues out{airfoil, alpha, part(0), part(1), part(2), part(3)};
    const FlowRun run{count, atX, atY, values, values + count, values + 2 * count, values + 3 * count};
    const bool whole = withoutGil([&](const StopRequest& stop) {
        for (std::size_t from = 0; from < count; from += FieldBlock) {
            if (stopRequested(stop)) return false;
            const std::size_t n = std::min(FieldBlock, count - from);
            f.evaluate({n, run.x + from, run.y + from, run.u + from, run.v + from, run.cp + from, run.psi + from});
        }
        return true;
    });
    if (!whole) throw py::value_error(Interrupted);  // not reached: the interruption is raised first
    return out;
}

struct Line {
    double psi = 0;
    bool dividing = false;
    py::array_t<double> x, y;
};

StreamPlane planeOf(const std::string& name) {
    if (name == "airfoil") return StreamPlane::Airfoil;
    if (name == "circle") return StreamPlane::Circle;
    throw py::value_error("Cannot draw streamlines: the plane must be airfoil or circle, not '" + name + "'.");
}

std::vector<Line> lines(const Airfoil& airfoil, double alpha, const py::handle& count,
                        const std::optional<std::array<double, 4>>& extent, const std::string& planeName,
                        std::optional<double> circulation) {
    StreamlineRequest rq;
    rq.plane = planeOf(planeName);
    // Counts beyond an int's range are refused here in the core's words, the others by the core.
    const double n = wholeNumber(count);
    if (!(std::fabs(n) <= 1e9)) {
        throw py::value_error("Cannot draw streamlines: the count of streamlines must be from 1 to " +
                              std::to_string(MaxStreamlines) + ", not " +
                              (std::isinf(n) ? std::string("a number beyond 1e308") : shortestText(n)) + ".");
    }
    rq.count = static_cast<int>(n);
    rq.extent = extent ? Extent{(*extent)[0], (*extent)[1], (*extent)[2], (*extent)[3]} : defaultExtent(rq.plane);
    const FlowField f = flowOf(airfoil, alpha, circulation);
    Expected<std::vector<Streamline>> traced = withoutGil([&](const StopRequest& stop) {
        rq.stop = stop;
        return streamlines(f, rq);
    });
    if (!traced) throw py::value_error("Cannot draw streamlines: " + traced.error());
    std::vector<Line> out;
    out.reserve(traced->size());
    for (const Streamline& s : *traced) {
        Line l{s.psi, s.dividing, py::array_t<double>(static_cast<py::ssize_t>(s.points.size())),
               py::array_t<double>(static_cast<py::ssize_t>(s.points.size()))};
        double* x = l.x.mutable_data();
        double* y = l.y.mutable_data();
        for (const FlowPoint& p : s.points) {
            *x++ = p.x;
            *y++ = p.y;
        }
        out.push_back(std::move(l));
    }
    return out;
}

}  // namespace

void addFlow(py::module_& m, py::class_<Airfoil>& airfoil) {
    const py::module_ numpy = py::module_::import("numpy");
    numpyFunctions = new NumpyFunctions{numpy.attr("asarray"), numpy.attr("broadcast")};  // NOLINT
    py::class_<FieldValues>(m, "Field",
                            "The potential flow at a set of points (unit free stream at the angle of attack):\n"
                            "four float64 arrays shaped like numpy.broadcast(x, y), NaN inside the airfoil.")
        .def_readonly("airfoil", &FieldValues::airfoil, "the airfoil")
        .def_readonly("alpha", &FieldValues::alpha, "angle of attack, degrees")
        .def_readonly("u", &FieldValues::u, "velocity along x, over the free stream's speed")
        .def_readonly("v", &FieldValues::v, "velocity along y, over the free stream's speed")
        .def_readonly("cp", &FieldValues::cp, "pressure coefficient 1 - (u^2 + v^2)")
        .def_readonly("psi", &FieldValues::psi,
                      "stream function: 0 on the airfoil, about y cos(alpha) - x sin(alpha) far away");

    py::class_<Line>(m, "Streamline", "One line psi = const, its points in the direction of the flow.")
        .def_readonly("psi", &Line::psi, "the stream function's value on the line")
        .def_readonly("dividing", &Line::dividing,
                      "whether it is part of the dividing streamline psi = 0 (which comes as two lines:\n"
                      "upstream to the front stagnation point, over the upper side and downstream; and\n"
                      "the lower side)")
        .def_readonly("x", &Line::x, "abscissae, float64 (chords; circle-plane units in the circle plane)")
        .def_readonly("y", &Line::y, "ordinates, float64")
        .def("__repr__", [](const Line& l) {
            return "Streamline(psi=" + py::repr(py::float_(l.psi)).cast<std::string>() +
                   ", dividing=" + (l.dividing ? "True" : "False") + ", points=" + std::to_string(l.x.size()) + ")";
        });

    airfoil
        .def("field", &field, "alpha"_a, "x"_a, "y"_a, py::kw_only(), "circulation"_a = py::none(),
             "The exact potential flow at the points (x, y) (chord 1, leading edge at (0, 0),\n"
             "trailing edge at (1, 0)) at the angle of attack alpha (degrees): u, v, cp and psi,\n"
             "shaped like numpy.broadcast(x, y); points inside the airfoil give NaN. x and y are\n"
             "anything numpy reads as numbers. circulation: Gamma set by hand instead of by the\n"
             "Kutta condition, in units of the free-stream speed times the chord (CL = 2 Gamma;\n"
             "the Kutta value is solve(...).CL / 2), from -1000 to 1000; the speed at a sharp\n"
             "trailing edge is then infinite. Raises ValueError for an airfoil without a flow\n"
             "(the flow needs F >= 0 and 1 < m <= 2), an angle outside -360 to 360 or a\n"
             "circulation beyond 1000.")
        .def("streamlines", &lines, "alpha"_a, "count"_a = 21, "extent"_a = py::none(), "plane"_a = "airfoil",
             py::kw_only(), "circulation"_a = py::none(),
             "count lines of constant psi (1 to 1000) spaced evenly over the values of psi that\n"
             "enter extent = (x0, x1, y0, y1) (default (-1, 2, -1, 1); in the circle plane\n"
             "(-3, 3, -2, 2)), psi = 0 always among them, at the angle of attack alpha (degrees).\n"
             "Every point lies on its level to 1e-9, at most 0.01 chord from the next. plane\n"
             "'circle' gives the same lines about the generating circle. circulation: Gamma set\n"
             "by hand, as for field. Returns a list of\n"
             "Streamline ordered by psi. Raises ValueError for an airfoil without a flow, an empty\n"
             "extent or a count outside 1 to 1000.");
}

}  // namespace orvek::python
