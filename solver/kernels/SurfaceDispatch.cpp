// Which kernels run: one ordered table of the instruction sets, widest first, each with the
// processor features it needs and its kernels (the surface's and the flow field's). The table is walked both to pick the widest one
// the processor runs and to honour a narrower one named by ORVEK_SIMD.

#include "solver/kernels/FlowKernel.h"
#include "solver/kernels/InstructionSets.h"
#include "solver/kernels/SurfaceKernel.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace orvek {

namespace {

// Processor features, as bits.
enum Feature : unsigned { Sse2 = 1u, Avx2 = 2u, Fma = 4u, Avx512f = 8u };

unsigned processorFeatures() {
    unsigned have = 0;
#if defined(__x86_64__) || defined(_M_X64)
    have |= Sse2;  // part of every x86-64 processor
#if defined(__GNUC__)
    if (__builtin_cpu_supports("avx2")) have |= Avx2;
    if (__builtin_cpu_supports("fma")) have |= Fma;
    if (__builtin_cpu_supports("avx512f")) have |= Avx512f;
#endif
#endif
    return have;
}

struct Implementation {
    SurfaceIsa isa;
    const char* name;
    unsigned needs;          // the processor features the kernels are compiled for
    SurfaceKernelFn kernel;  // null when this build has no kernels for the set
    FlowKernelFn flow;
};

// Widest first; the last entry runs everywhere.
constexpr Implementation Implementations[] = {
#if defined(ORVEK_HAVE_SLEEF)
    {SurfaceIsa::Avx512, "avx512", Avx512f, surfaceRunAvx512, flowRunAvx512},
    {SurfaceIsa::Avx2, "avx2", Avx2 | Fma, surfaceRunAvx2, flowRunAvx2},
    {SurfaceIsa::Sse2, "sse2", Sse2, surfaceRunSse2, flowRunSse2},
#else
    {SurfaceIsa::Avx512, "avx512", Avx512f, nullptr, nullptr},
    {SurfaceIsa::Avx2, "avx2", Avx2 | Fma, nullptr, nullptr},
    {SurfaceIsa::Sse2, "sse2", Sse2, nullptr, nullptr},
#endif
    {SurfaceIsa::Scalar, "scalar", 0u, surfaceRunScalar, flowRunScalar},
};

const Implementation& entry(SurfaceIsa isa) {
    for (const Implementation& i : Implementations) {
        if (i.isa == isa) return i;
    }
    return Implementations[std::size(Implementations) - 1];
}

bool runsHere(const Implementation& i) {
    static const unsigned have = processorFeatures();
    return i.kernel != nullptr && (i.needs & have) == i.needs;
}

// The first entry that runs here, starting at the one ORVEK_SIMD names (the widest without it).
SurfaceIsa choose() {
    const char* wanted = std::getenv("ORVEK_SIMD");
    std::size_t first = 0;
    if (wanted != nullptr && *wanted != '\0') {
        first = std::size(Implementations);
        for (std::size_t k = 0; k < std::size(Implementations); ++k) {
            if (std::strcmp(wanted, Implementations[k].name) == 0) first = k;
        }
        if (first == std::size(Implementations)) {
            std::fprintf(stderr,
                         "ORVEK_SIMD=%s names no instruction set (avx512, avx2, sse2 or scalar); the widest this "
                         "processor runs is used.\n",
                         wanted);
            first = 0;
        }
    }
    for (std::size_t k = first; k < std::size(Implementations); ++k) {
        if (runsHere(Implementations[k])) return Implementations[k].isa;
    }
    return SurfaceIsa::Scalar;
}

}  // namespace

const char* isaName(SurfaceIsa isa) { return entry(isa).name; }

bool isaAvailable(SurfaceIsa isa) { return runsHere(entry(isa)); }

SurfaceIsa preferredIsa() {
    static const SurfaceIsa chosen = choose();
    return chosen;
}

SurfaceKernelFn surfaceKernel(SurfaceIsa isa) {
    const Implementation& i = entry(isa);
    return runsHere(i) ? i.kernel : surfaceRunScalar;
}

FlowKernelFn flowKernel(SurfaceIsa isa) {
    const Implementation& i = entry(isa);
    return runsHere(i) ? i.flow : flowRunScalar;
}

}  // namespace orvek
