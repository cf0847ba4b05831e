// The kernels on 8-lane vectors of doubles, AVX-512F (compiled with -mavx512f), with SLEEF's
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
typedef double Lanes8 __attribute__((vector_size(64)));

struct Avx512Ops : VectorLanes<Lanes8, 8> {
    using V = Lanes8;
    // (the masked form: the plain one trips a false uninitialised-value warning of GCC 12)
    static V sqrt(V v) { return _mm512_mask_sqrt_pd(v, 0xFF, v); }
    static V atan2(V y, V x) { return Sleef_atan2d8_u10avx512f(y, x); }
    static V pow(V x, double e) { return Sleef_powd8_u10avx512f(x, splat(e)); }
    static V exp(V x) { return Sleef_expd8_u10avx512f(x); }
    static void sincos(V a, V& s, V& c) { split(Sleef_sincosd8_u10avx512f(a), s, c); }
    static V fastAtan2(V y, V x) { return Sleef_atan2d8_u35avx512f(y, x); }
    static V fastLog(V x) { return Sleef_logd8_u35avx512f(x); }
    static void fastSincos(V a, V& s, V& c) { split(Sleef_sincosd8_u35avx512f(a), s, c); }
    static void split(const Sleef___m512d_2& sc, V& s, V& c) {
        s = sc.x;
        c = sc.y;
    }
};

}  // namespace

constexpr Kernels Avx512Kernels = kernelsFor<Avx512Ops>();

}  // namespace orvek

#else

namespace orvek {
constexpr Kernels Avx512Kernels{};
}  // namespace orvek

#endif
