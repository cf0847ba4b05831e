// Which kernels run: one ordered table of the instruction sets, widest first, each with the
// processor features it needs and its kernels (null where this build has none for the set). The
// table is walked both to pick the widest set the processor runs and to honour a narrower one
// named by ORVEK_SIMD. A new instruction set is one file defining its lane operations and one row.

#include "solver/kernels/InstructionSets.h"
#include "solver/kernels/Kernels.h"

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
    InstructionSet set;
    const char* name;
    unsigned needs;          // the processor features the kernels are compiled for
    const Kernels* kernels;  // their functions are null when this build has none for the set
};

// Widest first; the last entry runs everywhere.
constexpr Implementation Implementations[] = {
    {InstructionSet::WasmSimd, "wasm-simd128", 0u, &WasmSimdKernels},  // present only in the browser's build
    {InstructionSet::Avx512, "avx512", Avx512f, &Avx512Kernels},
    {InstructionSet::Avx2, "avx2", Avx2 | Fma, &Avx2Kernels},
    {InstructionSet::Sse2, "sse2", Sse2, &Sse2Kernels},
    {InstructionSet::Scalar, "scalar", 0u, &ScalarKernels},
};

const Implementation& entry(InstructionSet set) {
    for (const Implementation& i : Implementations) {
        if (i.set == set) return i;
    }
    return Implementations[std::size(Implementations) - 1];
}

bool runsHere(const Implementation& i) {
    static const unsigned have = processorFeatures();
    return i.kernels->surface != nullptr && i.kernels->flow != nullptr && (i.needs & have) == i.needs;
}

// The first entry that runs here, starting at the one ORVEK_SIMD names (the widest without it).
InstructionSet choose() {
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
        if (runsHere(Implementations[k])) return Implementations[k].set;
    }
    return InstructionSet::Scalar;
}

// The kernels of the set, or the scalar ones when the set does not run here.
const Kernels& kernels(InstructionSet set) {
    const Implementation& i = entry(set);
    return runsHere(i) ? *i.kernels : ScalarKernels;
}

}  // namespace

const char* instructionSetName(InstructionSet set) { return entry(set).name; }

bool instructionSetAvailable(InstructionSet set) { return runsHere(entry(set)); }

InstructionSet preferredInstructionSet() {
    static const InstructionSet chosen = choose();
    return chosen;
}

SurfaceKernelFn surfaceKernel(InstructionSet set) { return kernels(set).surface; }

FlowKernelFn flowKernel(InstructionSet set) { return kernels(set).flow; }

}  // namespace orvek
