// The flow-field kernel in plain double arithmetic with the C library's functions: the path for
// processors without vector units the build knows, and the one ORVEK_SIMD=scalar forces.

#include "solver/kernels/FlowKernelImpl.h"

#include <cmath>

namespace orvek {
namespace {

struct ScalarFlowOps {
    using V = double;
    static constexpr std::size_t Width = 1;
    static V splat(double v) { return v; }
    static V sqrt(V v) { return std::sqrt(v); }
    static V atan2(V y, V x) { return std::atan2(y, x); }
    static V log(V x) { return std::log(x); }
    static V exp(V x) { return std::exp(x); }
    static void sincos(V a, V& s, V& c) {
        s = std::sin(a);
        c = std::cos(a);
    }
    static void store(double* to, V v, std::size_t) { *to = v; }
};

}  // namespace

void flowRunScalar(const FlowConstants& c, const FlowRun& run) { FlowKernelImpl<ScalarFlowOps>::run(c, run); }

}  // namespace orvek
