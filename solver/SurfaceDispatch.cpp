// Which surface kernel runs: the widest instruction set that both this build and the processor
// have, unless the environment variable ORVEK_SIMD asks for a narrower one.

#include "solver/SurfaceKernel.h"

#include <cstdlib>
#include <cstring>

namespace orvek {

const char* isaName(SurfaceIsa isa) {
    switch (isa) {
    case SurfaceIsa::Scalar: return "scalar";
    case SurfaceIsa::Sse2: return "sse2";
    case SurfaceIsa::Avx2: return "avx2";
    case SurfaceIsa::Avx512: return "avx512";
    }
    return "scalar";
}

bool isaAvailable(SurfaceIsa isa) {
#if defined(ORVEK_HAVE_SLEEF)
    switch (isa) {
    case SurfaceIsa::Scalar:
    case SurfaceIsa::Sse2: return true;  // scalar runs everywhere; SSE2 is part of every x86-64 processor
    case SurfaceIsa::Avx2: return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    case SurfaceIsa::Avx512: return __builtin_cpu_supports("avx512f");
    }
    return false;
#else
    return isa == SurfaceIsa::Scalar;
#endif
}

namespace {

SurfaceIsa choose() {
    const SurfaceIsa widestFirst[] = {SurfaceIsa::Avx512, SurfaceIsa::Avx2, SurfaceIsa::Sse2, SurfaceIsa::Scalar};
    // A requested set that this processor lacks falls back to the next narrower one.
    const char* wanted = std::getenv("ORVEK_SIMD");
    bool reached = wanted == nullptr || *wanted == '\0';
    if (!reached) {
        bool known = false;
        for (SurfaceIsa isa : widestFirst) known = known || std::strcmp(wanted, isaName(isa)) == 0;
        reached = !known;  // an unknown name changes nothing
    }
    for (SurfaceIsa isa : widestFirst) {
        reached = reached || std::strcmp(wanted, isaName(isa)) == 0;
        if (reached && isaAvailable(isa)) return isa;
    }
    return SurfaceIsa::Scalar;
}

}  // namespace

SurfaceIsa preferredIsa() {
    static const SurfaceIsa chosen = choose();
    return chosen;
}

SurfaceKernelFn surfaceKernel(SurfaceIsa isa) {
    if (!isaAvailable(isa)) return surfaceRunScalar;
    switch (isa) {
#if defined(ORVEK_HAVE_SLEEF)
    case SurfaceIsa::Sse2: return surfaceRunSse2;
    case SurfaceIsa::Avx2: return surfaceRunAvx2;
    case SurfaceIsa::Avx512: return surfaceRunAvx512;
#endif
    default: return surfaceRunScalar;
    }
}

}  // namespace orvek
