#pragma once
// The instruction sets the solver's per-point kernels are built for, and the one this run uses:
// the widest that both this build and the processor have, unless the environment variable
// ORVEK_SIMD (scalar, sse2, avx2, avx512) asks for a narrower one.

namespace orvek {

// Plain double arithmetic is always there.
// WasmSimd: WebAssembly's 128-bit vectors, in the build for the browser.
enum class InstructionSet { Scalar, Sse2, Avx2, Avx512, WasmSimd };

const char* instructionSetName(InstructionSet set);
// Whether this build has the kernels for the set and this processor can run them.
bool instructionSetAvailable(InstructionSet set);
// The set this run uses, decided once per program run. An ORVEK_SIMD value that names no set is
// said once on standard error and otherwise ignored.
InstructionSet preferredInstructionSet();

}  // namespace orvek
