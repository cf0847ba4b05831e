// The surface kernel on 2-lane vectors of doubles, SSE2, the instruction set every x86-64 processor has, with SLEEF's
// vector functions of at most 1 ulp error.

#include "solver/kernels/SurfaceKernelImpl.h"
#include "solver/kernels/SurfaceVectorOps.h"

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
    static void sincos(V a, V& s, V& c) {
        const Sleef___m128d_2 sc = Sleef_sincosd2_u10sse2(a);
        s = sc.x;
        c = sc.y;
    }
};

}  // namespace

bool surfaceRunSse2(const PointConstants& c, const SurfaceRun& run) { return SurfaceKernelImpl<Sse2Ops>::run(c, run); }

}  // namespace orvek
