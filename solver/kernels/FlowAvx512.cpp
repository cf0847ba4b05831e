// The flow-field kernel on 8-lane vectors of doubles, AVX-512F (compiled with -mavx512f), with SLEEF's vector functions (3.5 ulp
// at most: the field's values need 1e-10, and the faster functions halve its time).

#include "solver/kernels/FlowKernelImpl.h"
#include "solver/kernels/SurfaceVectorOps.h"

#include <sleef.h>

namespace orvek {
namespace {

// The lane type without the intrinsic type's may_alias attribute, so it can be a template argument.
typedef double Lanes8 __attribute__((vector_size(64)));

struct Avx512FlowOps : VectorLanes<Lanes8, 8> {
    using V = Lanes8;
    // (the masked form: the plain one trips a false uninitialised-value warning of GCC 12)
    // (the masked form: the plain one trips a false uninitialised-value warning of GCC 12)
    static V sqrt(V v) { return _mm512_mask_sqrt_pd(v, 0xFF, v); }
    static V atan2(V y, V x) { return Sleef_atan2d8_u35avx512f(y, x); }
    static V log(V x) { return Sleef_logd8_u35avx512f(x); }
    static V exp(V x) { return Sleef_expd8_u10avx512f(x); }
    static void sincos(V a, V& s, V& c) {
        const Sleef___m512d_2 sc = Sleef_sincosd8_u35avx512f(a);
        s = sc.x;
        c = sc.y;
    }
};

}  // namespace

void flowRunAvx512(const FlowConstants& c, const FlowRun& run) { FlowKernelImpl<Avx512FlowOps>::run(c, run); }

}  // namespace orvek
