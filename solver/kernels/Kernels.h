#pragma once
// The kernels of one instruction set, as the dispatch table holds them. Each instruction set's
// file (Scalar.cpp, Sse2.cpp, Avx2.cpp, Avx512.cpp, WasmSimd.cpp) defines its object below; a build without
// the vector-math library leaves a vector set's kernels null, and the table then skips its row.

#include "solver/kernels/FlowKernel.h"
#include "solver/kernels/SurfaceKernel.h"

namespace orvek {

struct Kernels {
    SurfaceKernelFn surface = nullptr;
    FlowKernelFn flow = nullptr;
};

extern const Kernels ScalarKernels;
extern const Kernels Sse2Kernels;
extern const Kernels Avx2Kernels;
extern const Kernels Avx512Kernels;
extern const Kernels WasmSimdKernels;

}  // namespace orvek
