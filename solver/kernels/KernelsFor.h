#pragma once
// Every kernel's formulas instantiated from one instruction set's lane operations. Included only
// by the instruction sets' files; each defines its operations once, as a struct `Ops`:
//   V, Width                        the lane type (double, or a GCC vector of doubles) and its lanes
//   splat, iota, fillTail           v in every lane; 0, 1, 2, ...; lanes n.. set to lane 0's value
//   load, store                     the first n lanes from and to memory (load repeats lane 0 after n)
//   allZero                         whether every lane is 0
//   sqrt                            correctly rounded
//   atan2, pow, sincos, exp         at most 1 ulp (the surface points)
//   fastAtan2, fastLog, fastSincos  at most 3.5 ulp (the flow field: its values need 1e-10, and
//                                   the faster functions halve its time)
// and gives `kernelsFor<Ops>()` as its kernels. Everything here has internal linkage, so code
// compiled for one instruction set never stands in for another's.

#include "solver/kernels/FlowKernelImpl.h"
#include "solver/kernels/Kernels.h"
#include "solver/kernels/SurfaceKernelImpl.h"

namespace orvek {
namespace {

template <class Ops>
constexpr Kernels kernelsFor() {
    return {&SurfaceKernelImpl<Ops>::run, &FlowKernelImpl<Ops>::run};
}

}  // namespace
}  // namespace orvek
