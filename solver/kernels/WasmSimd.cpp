// The kernels on WebAssembly's 2-lane vectors of doubles (simd128), for the build that runs in the
// browser. The arithmetic and the square root run on both lanes at once. WebAssembly has no vector
// mathematical functions: the flow field's (exp and the fast ones) are VectorMath.h's, on both
// lanes at once; the surface points' atan2, pow and sincos, which must stay within 1 ulp, are the
// C library's, lane by lane. Elsewhere the build has no kernels for this set, and the dispatch
// table skips its row.

#include "solver/kernels/Kernels.h"

#if defined(__wasm_simd128__)

#include "solver/kernels/KernelsFor.h"
#include "solver/kernels/VectorMath.h"
#include "solver/kernels/VectorLanes.h"

#include <cmath>
#include <wasm_simd128.h>

namespace orvek {
namespace {

typedef double Lanes2 __attribute__((vector_size(16)));
typedef long long Bits2 __attribute__((vector_size(16)));

struct WasmSimdOps : VectorLanes<Lanes2, 2> {
    using V = Lanes2;
    using Math = VectorMath<V, Bits2, WasmSimdOps>;
    static V sqrt(V v) { return reinterpret_cast<V>(wasm_f64x2_sqrt(reinterpret_cast<v128_t>(v))); }
    static bool allTrue(Bits2 mask) { return wasm_i64x2_all_true(reinterpret_cast<v128_t>(mask)); }
    static V atan2(V y, V x) { return {std::atan2(y[0], x[0]), std::atan2(y[1], x[1])}; }
    static V pow(V x, double e) { return {std::pow(x[0], e), std::pow(x[1], e)}; }
    static V exp(V x) { return Math::exp(x); }
    static void sincos(V a, V& s, V& c) {
        s = V{std::sin(a[0]), std::sin(a[1])};
        c = V{std::cos(a[0]), std::cos(a[1])};
    }
    static V fastAtan2(V y, V x) { return Math::atan2(y, x); }
    static V fastLog(V x) { return Math::log(x); }
    static void fastSincos(V a, V& s, V& c) { Math::sincos(a, s, c); }
};

}  // namespace

constexpr Kernels WasmSimdKernels = kernelsFor<WasmSimdOps>();

}  // namespace orvek

#else

namespace orvek {
constexpr Kernels WasmSimdKernels{};
}  // namespace orvek

#endif
