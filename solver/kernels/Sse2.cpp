// The kernels on 2-lane vectors of doubles, SSE2 (the instruction set every x86-64 processor has),
// with SLEEF's vector functions. Without the vector-math library the build has no kernels for
// this set, and the dispatch table skips its row.

#include "solver/kernels/Kernels.h"

#if defined(ORVEK_HAVE_SLEEF)

#include "solver/kernels/KernelsFor.h"
#include "solver/kernels/VectorLanes.h"

#include <sleef.h>

namespace orvek {
namespace {

// The lane type without the intrinsic type's may_alias attribute, so it can be a template argument.
typedef double Lanes2 __attribute__((vector_size(16)));

struct Sse2Ops : VectorLanes<Lanes2, 2> {
    using V = Lanes2;
    static V sqrt(V v) { return _mm_sqrt_pd(v); }
    static V atan2(V y, V x) { return Sleef_atan2d2_u10sse2(y, x); }
    static V pow(V x, double e) { return Sleef_powd2_u10sse2(x, splat(e)); }
    static V exp(V x) { return Sleef_expd2_u10sse2(x); }
    static void sincos(V a, V& s, V& c) { split(Sleef_sincosd2_u10sse2(a), s, c); }
    static V fastAtan2(V y, V x) { return Sleef_atan2d2_u35sse2(y, x); }
    static V fastLog(V x) { return Sleef_logd2_u35sse2(x); }
    static void fastSincos(V a, V& s, V& c) { split(Sleef_sincosd2_u35sse2(a), s, c); }
    static void split(const Sleef___m128d_2& sc, V& s, V& c) {
        s = sc.x;
        c = sc.y;
    }
};

}  // namespace

constexpr Kernels Sse2Kernels = kernelsFor<Sse2Ops>();

}  // namespace orvek

#else

namespace orvek {
constexpr Kernels Sse2Kernels{};
}  // namespace orvek

#endif
