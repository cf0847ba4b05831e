// The flow-field kernel on 2-lane vectors of doubles, SSE2 (every x86-64 processor has it), with SLEEF's vector functions (3.5 ulp
// at most: the field's values need 1e-10, and the faster functions halve its time).

#include "solver/kernels/FlowKernelImpl.h"
#include "solver/kernels/SurfaceVectorOps.h"

#include <sleef.h>

namespace orvek {
namespace {

// The lane type without the intrinsic type's may_alias attribute, so it can be a template argument.
typedef double Lanes2 __attribute__((vector_size(16)));

struct Sse2FlowOps : VectorLanes<Lanes2, 2> {
    using V = Lanes2;
    static V sqrt(V v) { return _mm_sqrt_pd(v); }
    static V atan2(V y, V x) { return Sleef_atan2d2_u35sse2(y, x); }
    static V log(V x) { return Sleef_logd2_u35sse2(x); }
    static V exp(V x) { return Sleef_expd2_u10sse2(x); }
    static void sincos(V a, V& s, V& c) {
        const Sleef___m128d_2 sc = Sleef_sincosd2_u35sse2(a);
        s = sc.x;
        c = sc.y;
    }
};

}  // namespace

void flowRunSse2(const FlowConstants& c, const FlowRun& run) { FlowKernelImpl<Sse2FlowOps>::run(c, run); }

}  // namespace orvek
