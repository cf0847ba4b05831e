#pragma once
// Lane helpers shared by the vector kernels: GCC vector types, so the formulas keep their
// ordinary operators; loads and stores go through memcpy (unaligned, and only the lanes asked for).

#include <cstddef>
#include <cstring>

namespace orvek {
namespace {

template <class V, std::size_t N>
struct VectorLanes {
    static constexpr std::size_t Width = N;
    static V splat(double v) {
        V out;
        for (std::size_t j = 0; j < N; ++j) out[j] = v;
        return out;
    }
    static V iota() {
        V out;
        for (std::size_t j = 0; j < N; ++j) out[j] = static_cast<double>(j);
        return out;
    }
    // Lanes n.. take lane 0's value, so a partial block computes only valid angles.
    static V fillTail(V t, std::size_t n) {
        for (std::size_t j = n; j < N; ++j) t[j] = t[0];
        return t;
    }
    // Lanes n.. repeat lane 0, so a partial block computes only points that were asked for.
    static V load(const double* from, std::size_t n) {
        V out = splat(from[0]);
        if (n == N) {
            std::memcpy(&out, from, sizeof out);  // one vector load
        } else {
            std::memcpy(&out, from, n * sizeof(double));
        }
        return out;
    }
    static void store(double* to, V v, std::size_t n) {
        if (n == N) {
            std::memcpy(to, &v, sizeof v);
        } else {
            std::memcpy(to, &v, n * sizeof(double));
        }
    }
    static bool allZero(V v) {
        bool zero = true;
        for (std::size_t j = 0; j < N; ++j) zero = zero && v[j] == 0.0;
        return zero;
    }
};

}  // namespace
}  // namespace orvek
