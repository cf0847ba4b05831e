// The kernels on 4-lane vectors of doubles, AVX2 and FMA (compiled with -mavx2 -mfma), with SLEEF's
// vector functions. Without the vector-math library the build has no kernels for this set, and
// the dispatch table skips its row.

#include "solver/kernels/Kernels.h"

#if defined(ORVEK_HAVE_SLEEF)

#include "solver/kernels/KernelsFor.h"
#include "solver/kernels/VectorLanes.h"

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
    static V exp(V x) { return Sleef_expd4_u10avx2(x); }
    static void sincos(V a, V& s, V& c) { split(Sleef_sincosd4_u10avx2(a), s, c); }
    static V fastAtan2(V y, V x) { return Sleef_atan2d4_u35avx2(y, x); }
    static V fastLog(V x) { return Sleef_logd4_u35avx2(x); }
    static void fastSincos(V a, V& s, V& c) { split(Sleef_sincosd4_u35avx2(a), s, c); }
    static void split(const Sleef___m256d_2& sc, V& s, V& c) {
        s = sc.x;
        c = sc.y;
    }
};

}  // namespace

constexpr Kernels Avx2Kernels = kernelsFor<Avx2Ops>();

}  // namespace orvek

#else

namespace orvek {
constexpr Kernels Avx2Kernels{};
}  // namespace orvek

#endif
