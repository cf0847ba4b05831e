// The surface kernel on 8-lane vectors of doubles, AVX-512F (compiled with -mavx512f), with SLEEF's
// vector functions of at most 1 ulp error.

#include "solver/kernels/SurfaceKernelImpl.h"
#include "solver/kernels/SurfaceVectorOps.h"

#include <sleef.h>

namespace orvek {
namespace {

// The lane type without the intrinsic type's may_alias attribute, so it can be a template argument.
typedef double Lanes8 __attribute__((vector_size(64)));

struct Avx512Ops : VectorLanes<Lanes8, 8> {
    using V = Lanes8;
    // (the masked form: the plain one trips a false uninitialised-value warning of GCC 12)
    static V sqrt(V v) { return _mm512_mask_sqrt_pd(v, 0xFF, v); }
    static V atan2(V y, V x) { return Sleef_atan2d8_u10avx512f(y, x); }
    static V pow(V x, double e) { return Sleef_powd8_u10avx512f(x, splat(e)); }
    static void sincos(V a, V& s, V& c) {
        const Sleef___m512d_2 sc = Sleef_sincosd8_u10avx512f(a);
        s = sc.x;
        c = sc.y;
    }
};

}  // namespace

bool surfaceRunAvx512(const PointConstants& c, const SurfaceRun& run) {
    return SurfaceKernelImpl<Avx512Ops>::run(c, run);
}

}  // namespace orvek
