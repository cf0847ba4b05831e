// The flow-field kernel on 4-lane vectors of doubles, AVX2 and FMA (compiled with -mavx2 -mfma), with SLEEF's vector functions (3.5 ulp
// at most: the field's values need 1e-10, and the faster functions halve its time).

#include "solver/kernels/FlowKernelImpl.h"
#include "solver/kernels/SurfaceVectorOps.h"

#include <sleef.h>

namespace orvek {
namespace {

// The lane type without the intrinsic type's may_alias attribute, so it can be a template argument.
typedef double Lanes4 __attribute__((vector_size(32)));

struct Avx2FlowOps : VectorLanes<Lanes4, 4> {
    using V = Lanes4;
    static V sqrt(V v) { return _mm256_sqrt_pd(v); }
    static V atan2(V y, V x) { return Sleef_atan2d4_u35avx2(y, x); }
    static V log(V x) { return Sleef_logd4_u35avx2(x); }
    static V exp(V x) { return Sleef_expd4_u10avx2(x); }
    static void sincos(V a, V& s, V& c) {
        const Sleef___m256d_2 sc = Sleef_sincosd4_u35avx2(a);
        s = sc.x;
        c = sc.y;
    }
};

}  // namespace

void flowRunAvx2(const FlowConstants& c, const FlowRun& run) { FlowKernelImpl<Avx2FlowOps>::run(c, run); }

}  // namespace orvek
