#include "python/Flow.h"

#include "python/Raise.h"
#include "solver/flow/FlowField.h"
#include "solver/flow/Streamlines.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <array>
#include <cmath>
#include <memory>
#include <mutex>
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
// Never freed, as the interpreter may drop its modules before the last call ends.
struct NumpyFunctions {
    py::object asarray, broadcastArrays;
};
const NumpyFunctions* numpyFunctions = nullptr;

// Coordinates as contiguous float64 arrays of one shape (numpy's broadcasting rules); anything
// that is not numbers is a TypeError, as for the other arguments.
std::pair<Doubles, Doubles> points(const py::object& x, const py::object& y) {
    const NumpyFunctions& numpy = *numpyFunctions;
    const py::tuple both = numpy.broadcastArrays(numpy.asarray(x), numpy.asarray(y));
    std::array<Doubles, 2> out;
    for (std::size_t k = 0; k < 2; ++k) {
        const auto a = both[k].cast<py::array>();
        const char kind = a.dtype().kind();
        if (kind != 'f' && kind != 'i' && kind != 'u' && kind != 'b') {
            throw py::type_error(std::string(k == 0 ? "x" : "y") + " must hold numbers, not the numpy type " +
                                 py::str(a.dtype()).cast<std::string>());
        }
        out[k] = Doubles::ensure(a);
        if (!out[k]) throw py::error_already_set();
    }
    return {std::move(out[0]), std::move(out[1])};
}

// The four output arrays of large fields live in one block, which goes back to a small pool when
// the last of them is freed and serves the next field of the same size: a field asked for again
// and again (a notebook redrawing its grid, a benchmark) then spares the operating system's work
// of handing out and clearing fresh memory, about a fifth of the time at a million points.
class BlockPool {
public:
    static constexpr std::size_t LeastKept = std::size_t{1} << 18;  // doubles (2 MB): smaller ones come cheaply
    static constexpr std::size_t MostKept = std::size_t{1} << 25;   // doubles (256 MB) kept in all

    struct Block {
        std::size_t size = 0;
        std::unique_ptr<double[]> data;
    };

    Block take(std::size_t size) {
        const std::lock_guard<std::mutex> lock(mutex_);
        for (auto b = kept_.begin(); b != kept_.end(); ++b) {
            if (b->size == size) {
                Block found = std::move(*b);
                kept_.erase(b);
                keptDoubles_ -= size;
                return found;
            }
        }
        return {size, std::unique_ptr<double[]>(new double[size])};
    }

    void give(Block b) {
        if (b.size < LeastKept || b.size > MostKept) return;
        const std::lock_guard<std::mutex> lock(mutex_);
        while (!kept_.empty() && keptDoubles_ + b.size > MostKept) {
            keptDoubles_ -= kept_.front().size;
            kept_.erase(kept_.begin());
        }
        keptDoubles_ += b.size;
        kept_.push_back(std::move(b));
    }

private:
    std::mutex mutex_;
    std::vector<Block> kept_;  // oldest first
    std::size_t keptDoubles_ = 0;
};

// Never destroyed: capsules freed while the interpreter shuts down still give their blocks back.
BlockPool& blockPool() {
    static auto* pool = new BlockPool;  // NOLINT(cppcoreguidelines-owning-memory)
    return *pool;
}

FieldValues field(const Airfoil& airfoil, double alpha, const py::object& x, const py::object& y,
                  std::optional<double> circulation) {
    const FlowField f = flowOf(airfoil, alpha, circulation);
    const auto [xs, ys] = points(x, y);
    const std::vector<py::ssize_t> shape(xs.shape(), xs.shape() + xs.ndim());
    const auto count = static_cast<std::size_t>(xs.size());
    // Beyond the field's reach the values would lose their accuracy: refused, not returned.
    const double* px = xs.data();
    const double* py = ys.data();
    for (std::size_t k = 0; k < count; ++k) {
        if (std::fabs(px[k]) > FlowReach || std::fabs(py[k]) > FlowReach) {
            throw py::value_error("Cannot calculate the flow: " + checkFlowPoint({px[k], py[k]}).error());
        }
    }
    auto block = std::make_unique<BlockPool::Block>(blockPool().take(4 * count));
    double* values = block->data.get();
    const py::capsule owner(block.release(), [](void* b) {
        std::unique_ptr<BlockPool::Block> done(static_cast<BlockPool::Block*>(b));
        blockPool().give(std::move(*done));
    });
    const auto part = [&](std::size_t k) { return py::array_t<double>(shape, values + k * count, owner); };
    FieldValues out{airfoil, alpha, part(0), part(1), part(2), part(3)};
    const FlowRun run{count, xs.data(), ys.data(), values, values + count, values + 2 * count, values + 3 * count};
    {
        py::gil_scoped_release release;
        f.evaluate(run);
    }
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

std::vector<Line> lines(const Airfoil& airfoil, double alpha, int count,
                        const std::optional<std::array<double, 4>>& extent, const std::string& planeName,
                        std::optional<double> circulation) {
    StreamlineRequest rq;
    rq.plane = planeOf(planeName);
    rq.count = count;
    rq.extent = extent ? Extent{(*extent)[0], (*extent)[1], (*extent)[2], (*extent)[3]} : defaultExtent(rq.plane);
    const FlowField f = flowOf(airfoil, alpha, circulation);
    Expected<std::vector<Streamline>> traced = [&] {
        py::gil_scoped_release release;
        return streamlines(f, rq);
    }();
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
    numpyFunctions = new NumpyFunctions{numpy.attr("asarray"), numpy.attr("broadcast_arrays")};  // NOLINT
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
