// The surface kernel on 4-lane vectors of doubles, AVX2 and FMA (compiled with -mavx2 -mfma), with SLEEF's
// vector functions of at most 1 ulp error.

#include "solver/kernels/SurfaceKernelImpl.h"
#include "solver/kernels/SurfaceVectorOps.h"

#include <sleef.h>

namespace orvek {
namespace {

// The lane type without the intrinsic type's may_alias attribute, so it can be a template argument.
typedef double Lanes4 __attribute__((vector_size(32)));

struct Avx2Ops : VectorLanes<Lanes4, 4> {
    using V = Lanes4;
    static V sqrt(V v) { return _mm256_sqrt_pd(v); }
    static V atan2(V y, V x) { return Sleef_atan2d4_u10avx2(y, x); }
    static V pow(V x, double e) { return Sleef_powd4_u10avx2(x, splat(e)); }
    static void sincos(V a, V& s, V& c) {
        const Sleef___m256d_2 sc = Sleef_sincosd4_u10avx2(a);
        s = sc.x;
        c = sc.y;
    }
};

}  // namespace

bool surfaceRunAvx2(const PointConstants& c, const SurfaceRun& run) { return SurfaceKernelImpl<Avx2Ops>::run(c, run); }

}  // namespace orvek
