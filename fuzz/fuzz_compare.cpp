// Fuzzes the readers of files laid over our results (coordinates, pressure, polar) with arbitrary
// contents; the first byte picks the reader. Besides crashes and undefined behaviour it checks what
// the readers promise: a failure names the file, a result holds finite numbers within the row
// bound, its columns are of one length, and the differences against a case stay finite.

#include "case/CompareFiles.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void finite(const std::vector<double>& v, bool nanAllowed = false) {
    if (v.size() > orvek::MaxCompareRows) std::abort();
    for (const double x : v) {
        if (!std::isfinite(x) && !(nanAllowed && std::isnan(x))) std::abort();
    }
}

// A small surface: a circle-like contour, enough to match x values against.
orvek::SurfacePoints surface() {
    orvek::SurfacePoints p;
    const std::size_t np = 21;
    p.x.assign(np + 1, 0.0);
    p.y.assign(np + 1, 0.0);
    p.Cu.assign(np + 1, 0.0);
    for (std::size_t i = 1; i <= np; ++i) {
        const double t = 2.0 * 3.141592653589793 * static_cast<double>(i - 1) / static_cast<double>(np - 1);
        p.x[i] = 0.5 + 0.5 * std::cos(t);
        p.y[i] = -0.1 * std::sin(t);
        p.Cu[i] = std::sin(t) * std::sin(t);
    }
    return p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string name = "file.txt";
    static const orvek::SurfacePoints ours = surface();
    switch (data[0] % 3) {
    case 0: {
        const auto r = orvek::readComparedProfile(bytes, name);
        if (!r) {
            if (r.error().rfind(name, 0) != 0) std::abort();
            break;
        }
        if (r->x.size() != r->y.size() || r->x.size() < 3) std::abort();
        finite(r->x);
        finite(r->y);
        for (const orvek::Difference& d : orvek::profileDifference(ours, *r)) finite(d.value);
        break;
    }
    case 1: {
        const auto r = orvek::readComparedPressure(bytes, name);
        if (!r) {
            if (r.error().rfind(name, 0) != 0) std::abort();
            break;
        }
        if (r->cp.size() != r->x.size() || r->side.size() != r->x.size() || (!r->y.empty() && r->y.size() != r->x.size()))
            std::abort();
        finite(r->x);
        finite(r->cp);
        for (const orvek::Difference& d : orvek::pressureDifference(ours, *r)) finite(d.value);
        break;
    }
    default: {
        const auto r = orvek::readComparedPolar(bytes, name);
        if (!r) {
            if (r.error().rfind(name, 0) != 0) std::abort();
            break;
        }
        const std::size_t n = r->alpha.size();
        if (n == 0 || r->CL.size() != n || r->CD.size() != n || r->CM.size() != n) std::abort();
        finite(r->alpha);
        finite(r->CL);
        finite(r->CD, true);
        finite(r->CM, true);
        break;
    }
    }
    return 0;
}
