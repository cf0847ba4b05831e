// The core as the web page calls it: each function takes plain numbers and gives a JavaScript
// object whose member `error` holds the core's sentence when the case cannot be had, so the page
// shows the same refusals as the desktop program. The flow the page looks at is kept here, made
// once per change of airfoil, angle or circulation, and asked for pixels, lines and point values.

#include "case/TextNumber.h"
#include "export/AirfoilCoordinates.h"
#include "export/CpColours.h"
#include "solver/analysis/Describe.h"
#include "solver/analysis/Design.h"
#include "solver/boundarylayer/BoundaryLayer.h"
#include "solver/flow/FlowField.h"
#include "solver/flow/Streamlines.h"
#include "solver/kernels/InstructionSets.h"
#include "solver/surface/Solver.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

using emscripten::val;
using namespace orvek;

val failure(const std::string& sentence) {
    val out = val::object();
    out.set("error", sentence);
    return out;
}

// A copy of the numbers as a JavaScript Float64Array.
val doubles(const std::vector<double>& v) {
    val out = val::global("Float64Array").new_(v.size());
    out.call<void>("set", val(emscripten::typed_memory_view(v.size(), v.data())));
    return out;
}

// The number a box or the address holds, as a window reads a typed number: a point or a comma,
// nothing left over. null when it is no number.
val readNumber(const std::string& text) {
    const std::optional<double> v = typedNumber(text);
    return v ? val(*v) : val::null();
}

val airfoilOf(const Airfoil& a) {
    val out = val::object();
    out.set("F", a.F);
    out.set("G", a.G);
    out.set("m", a.m);
    return out;
}

// F, G and m for a thickness, camber and trailing-edge angle, as the explorer designs them.
val design(double thickness, double camber, double teAngleDegrees) {
    const Expected<DesignResult> d = designAirfoil({thickness, camber, teAngleDegrees});
    if (!d) return failure(d.error());
    return airfoilOf(d->airfoil);
}

val measure(double F, double G, double m) {
    const Expected<AirfoilGeometry> g = measureAirfoil({F, G, m});
    if (!g) return failure(g.error());
    val out = val::object();
    out.set("thickness", g->thickness);
    out.set("thicknessPosition", g->thicknessPosition);
    out.set("camber", g->camber);
    out.set("camberPosition", g->camberPosition);
    out.set("teAngle", g->teAngleDegrees);
    return out;
}

// The case: coefficients and the surface points (x, y and 1-Cp at indices 1..N).
val solve(double F, double G, double m, double alphaDegrees, double points) {
    SolverInput in;
    in.airfoil = {F, G, m};
    in.AlfaD = alphaDegrees;
    in.N1 = points;
    const Expected<SolverResult> r = ORVEK(in);
    if (!r) return failure(r.error());
    val out = val::object();
    out.set("CL", r->coefficients.CL);
    out.set("CMc4", r->coefficients.CMc4);
    out.set("Alfa0", r->coefficients.Alfa0);
    out.set("x", doubles(r->points.x));
    out.set("y", doubles(r->points.y));
    out.set("Cu", doubles(r->points.Cu));
    return out;
}

// The viscous estimate at a Reynolds number: drag and where each side's layer turns turbulent.
val viscous(double F, double G, double m, double alphaDegrees, double Re) {
    ViscousInput in;
    in.airfoil = {F, G, m};
    in.alphaDegrees = alphaDegrees;
    in.Re = Re;
    const Expected<ViscousResult> r = boundaryLayer(in);
    if (!r) return failure(r.error());
    val out = val::object();
    out.set("CD", r->CD);
    out.set("CDf", r->CDf);
    out.set("CDp", r->CDp);
    out.set("transitionUpper", r->upper.transition);
    out.set("transitionLower", r->lower.transition);
    out.set("valid", r->valid);
    std::string notes;
    for (const ViscousFlag& f : r->flags) notes += (notes.empty() ? "" : " ") + f.sentence;
    out.set("notes", notes);
    return out;
}

// "selig" or "csv" as the desktop program's export writes them.
val coordinates(double F, double G, double m, double alphaDegrees, const std::string& format) {
    CoordinateFileRequest rq;
    rq.airfoil = {F, G, m};
    rq.alphaDegrees = alphaDegrees;
    const std::optional<CoordinateFormat> f = coordinateFormat(format);
    if (!f) return failure("No coordinate format \"" + format + "\".");
    rq.format = *f;
    const Expected<CoordinateFile> file = coordinateFile(rq);
    if (!file) return failure(file.error());
    val out = val::object();
    out.set("text", file->text());
    out.set("name", file->name);
    return out;
}

// The colour of Cp on the fixed scale of the desktop flow window.
Rgb cpColour(double cp) { return viridis((cp - CpColourLow) / (CpColourHigh - CpColourLow)); }

val cpColourOf(double cp) {
    const Rgb c = cpColour(cp);
    val out = val::array();
    for (std::uint8_t v : c) out.call<void>("push", static_cast<int>(v));
    return out;
}

// The colour of the airfoil's inside (and of the circle's).
constexpr Rgb Body = {200, 200, 200};

StreamPlane planeOf(bool circle) { return circle ? StreamPlane::Circle : StreamPlane::Airfoil; }

// The flow the page shows.
std::optional<FlowField> current;
FlowSamples samples;
std::array<double, 6> samplesView{};  // x0, x1, y0, y1, width, height of the samples' pixel centres
std::vector<std::uint8_t> pixels;

// Makes the flow; "" when it is had, else the core's sentence. A NaN circulation: Kutta's.
std::string setFlow(double F, double G, double m, double alphaDegrees, double circulation) {
    std::optional<double> byHand;
    if (!std::isnan(circulation)) byHand = circulation;
    Expected<FlowField> f = FlowField::make({F, G, m}, alphaDegrees, byHand);
    if (!f) {
        current.reset();
        return f.error();
    }
    current = std::move(*f);
    return {};
}

val flowSummary() {
    if (!current) return failure("No flow.");
    val out = val::object();
    out.set("circulation", current->circulation());
    out.set("kuttaCirculation", current->kuttaCirculation());
    out.set("radius", current->radius());
    out.set("centreX", current->centre().x);
    out.set("centreY", current->centre().y);
    return out;
}

FlowValues valuesAt(double x, double y, bool circle) {
    return circle ? current->atCircle({x, y}) : current->at({x, y});
}

// u, v, Cp and psi at a point of the plane; `inside` when it lies in the body.
val flowAt(double x, double y, bool circle) {
    if (!current) return failure("No flow.");
    if (!circle) {
        if (Status s = checkFlowPoint({x, y}); !s) return failure(s.error());
    }
    const FlowValues f = valuesAt(x, y, circle);
    val out = val::object();
    out.set("u", f.u);
    out.set("v", f.v);
    out.set("Cp", f.Cp);
    out.set("psi", f.psi);
    out.set("inside", f.inside);
    return out;
}

// The flow at many points of the airfoil plane through the kernels (for the checks against the
// desktop program): arrays u, v, Cp, psi (NaN inside).
val flowAtPoints(const val& xs, const val& ys, bool simd) {
    if (!current) return failure("No flow.");
    std::vector<double> x = emscripten::convertJSArrayToNumberVector<double>(xs);
    std::vector<double> y = emscripten::convertJSArrayToNumberVector<double>(ys);
    FlowSamples s(x.size());
    s.x = x;
    s.y = y;
    current->evaluate(s.run(), simd ? InstructionSet::WasmSimd : InstructionSet::Scalar, 1);
    val out = val::object();
    out.set("u", doubles(s.u));
    out.set("v", doubles(s.v));
    out.set("Cp", doubles(s.cp));
    out.set("psi", doubles(s.psi));
    return out;
}

// The Cp colours of a width x height view of the plane (x0..x1 left to right, y1..y0 top to
// bottom, pixel centres), as RGBA bytes over the module's memory: valid until the next call. In
// the airfoil plane the kernels do the work, with the vector row or the scalar one.
val renderField(double x0, double x1, double y0, double y1, int width, int height, bool circle, bool simd) {
    if (!current || width <= 0 || height <= 0) return val::null();
    const auto w = static_cast<std::size_t>(width), h = static_cast<std::size_t>(height);
    const std::size_t n = w * h;
    const std::array<double, 6> view = {x0, x1, y0, y1, static_cast<double>(w), static_cast<double>(h)};
    if (view != samplesView) {
        // Pixel centres: one row of x, copied to every row; y constant along a row. A redraw of
        // the same view (a new angle, say) keeps them.
        samples.resize(n);
        for (std::size_t c = 0; c < w; ++c) samples.x[c] = x0 + (static_cast<double>(c) + 0.5) / static_cast<double>(w) * (x1 - x0);
        for (std::size_t r = 0; r < h; ++r) {
            std::copy_n(samples.x.begin(), w, samples.x.begin() + static_cast<std::ptrdiff_t>(r * w));
            const double y = y1 - (static_cast<double>(r) + 0.5) / static_cast<double>(h) * (y1 - y0);
            std::fill_n(samples.y.begin() + static_cast<std::ptrdiff_t>(r * w), w, y);
        }
        samplesView = view;
    }
    if (circle) {
        for (std::size_t k = 0; k < n; ++k) {
            const FlowValues f = current->atCircle({samples.x[k], samples.y[k]});
            samples.cp[k] = f.inside ? std::nan("") : f.Cp;
        }
    } else {
        current->evaluate(samples.run(), simd ? InstructionSet::WasmSimd : InstructionSet::Scalar, 1);
    }
    // As cpColour, by one look-up of a whole RGBA pixel; NaN is the inside of the body. The table
    // position, clamped to the table, is rounded to the nearest entry by adding 2^52, which leaves
    // that integer in the low bits: cheaper than a conversion with its range checks.
    static const std::array<std::array<std::uint8_t, 4>, ViridisSize + 1> rgba = [] {
        std::array<std::array<std::uint8_t, 4>, ViridisSize + 1> out{};
        for (std::size_t k = 0; k < ViridisSize; ++k) {
            const Rgb& c = viridisTable()[k];
            out[k] = {c[0], c[1], c[2], 255};
        }
        out[ViridisSize] = {Body[0], Body[1], Body[2], 255};
        return out;
    }();
    const double top = static_cast<double>(ViridisSize - 1), perCp = top / (CpColourHigh - CpColourLow);
    pixels.resize(4 * n);
    for (std::size_t k = 0; k < n; ++k) {
        double position = (samples.cp[k] - CpColourLow) * perCp;
        const bool inside = std::isnan(position);
        position = position > 0.0 ? position : 0.0;
        position = position < top ? position : top;
        std::uint64_t bits = 0;
        const double rounded = position + 0x1p52;
        std::memcpy(&bits, &rounded, sizeof bits);
        const std::size_t entry = inside ? ViridisSize : static_cast<std::size_t>(bits & 0x7FF);
        std::memcpy(&pixels[4 * k], rgba[entry].data(), 4);
    }
    return val(emscripten::typed_memory_view(pixels.size(), pixels.data()));
}

val points(const std::vector<FlowPoint>& p) {
    std::vector<double> x, y;
    for (const FlowPoint& q : p) {
        x.push_back(q.x);
        y.push_back(q.y);
    }
    val out = val::object();
    out.set("x", doubles(x));
    out.set("y", doubles(y));
    return out;
}

// `count` streamlines chosen for the view, each {psi, dividing, x, y}.
val streamlinesIn(double x0, double x1, double y0, double y1, int count, bool circle) {
    if (!current) return failure("No flow.");
    StreamlineRequest rq;
    rq.extent = {x0, x1, y0, y1};
    rq.count = count;
    rq.plane = planeOf(circle);
    if (Status s = checkStreamlineExtent(rq.extent); !s) return failure(s.error());
    const Expected<std::vector<Streamline>> lines = streamlines(*current, rq);
    if (!lines) return failure(lines.error());
    val out = val::array();
    for (const Streamline& l : *lines) {
        val line = points(l.points);
        line.set("psi", l.psi);
        line.set("dividing", l.dividing);
        out.call<void>("push", line);
    }
    return out;
}

val stagnation(bool circle) {
    if (!current) return failure("No flow.");
    return points(current->stagnationPoints(planeOf(circle)));
}

val outline(bool circle) {
    if (!current) return failure("No flow.");
    return points(bodyOutline(*current, planeOf(circle)));
}

bool simdAvailable() { return instructionSetAvailable(InstructionSet::WasmSimd); }

}  // namespace

EMSCRIPTEN_BINDINGS(orvek) {
    emscripten::function("readNumber", &readNumber);
    emscripten::function("design", &design);
    emscripten::function("measure", &measure);
    emscripten::function("solve", &solve);
    emscripten::function("viscous", &viscous);
    emscripten::function("coordinates", &coordinates);
    emscripten::function("cpColour", &cpColourOf);
    emscripten::function("setFlow", &setFlow);
    emscripten::function("flowSummary", &flowSummary);
    emscripten::function("flowAt", &flowAt);
    emscripten::function("flowAtPoints", &flowAtPoints);
    emscripten::function("renderField", &renderField);
    emscripten::function("streamlines", &streamlinesIn);
    emscripten::function("stagnationPoints", &stagnation);
    emscripten::function("outline", &outline);
    emscripten::function("simdAvailable", &simdAvailable);
    emscripten::constant("maxCirculation", FlowField::MaxCirculation);
}
