// The kernels in plain double arithmetic with the C library's functions: the path for processors
// without vector units the build knows, the one ORVEK_SIMD=scalar forces, and the one
// `FlowField::at` uses for a single point.

#include "solver/kernels/KernelsFor.h"

#include <cmath>

namespace orvek {
namespace {

struct ScalarOps {
    using V = double;
    static constexpr std::size_t Width = 1;
    static V splat(double v) { return v; }
    static V iota() { return 0.0; }
    static V fillTail(V t, std::size_t) { return t; }
    static V load(const double* from, std::size_t) { return *from; }
    static void store(double* to, V v, std::size_t) { *to = v; }
    static bool allZero(V v) { return v == 0.0; }

    static V sqrt(V v) { return std::sqrt(v); }
    static V atan2(V y, V x) { return std::atan2(y, x); }
    static V pow(V x, double e) { return std::pow(x, e); }
    static V exp(V x) { return std::exp(x); }
    static void sincos(V a, V& s, V& c) {
        s = std::sin(a);
        c = std::cos(a);
    }
    // The C library has one accuracy.
    static V fastAtan2(V y, V x) { return atan2(y, x); }
    static V fastLog(V x) { return std::log(x); }
    static void fastSincos(V a, V& s, V& c) { sincos(a, s, c); }
};

}  // namespace

constexpr Kernels ScalarKernels = kernelsFor<ScalarOps>();

}  // namespace orvek
