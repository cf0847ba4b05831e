#pragma once
// A complex number over any lane type: double for the scalar code, a GCC vector of doubles in the
// kernels, which then compute several points' values at once with the same formulas.
//
// Unlike std::complex, every operation here is spelled out to the one rounding order the mapping's
// formulas were written for (a square as (re - im)(re + im), a quotient as a product with the
// conjugate and a reciprocal the caller chooses), so the scalar code and each instruction set
// round alike, and nothing checks for infinities on the way.

#include <type_traits>

namespace orvek {

template <class T>
struct Complex {
    T re, im;
};

template <class T>
Complex(T, T) -> Complex<T>;

template <class T>
struct IsComplex : std::false_type {};
template <class T>
struct IsComplex<Complex<T>> : std::true_type {};

template <class A, class B>
auto operator+(const Complex<A>& a, const Complex<B>& b) -> Complex<decltype(a.re + b.re)> {
    return {a.re + b.re, a.im + b.im};
}

template <class A, class B>
auto operator-(const Complex<A>& a, const Complex<B>& b) -> Complex<decltype(a.re - b.re)> {
    return {a.re - b.re, a.im - b.im};
}

template <class T>
Complex<T> operator-(const Complex<T>& z) {
    return {-z.re, -z.im};
}

// s + z and s - z for a real s
template <class T>
Complex<T> operator+(double s, const Complex<T>& z) {
    return {s + z.re, z.im};
}

template <class T>
Complex<T> operator-(double s, const Complex<T>& z) {
    return {s - z.re, -z.im};
}

template <class A, class B>
auto operator*(const Complex<A>& a, const Complex<B>& b) -> Complex<decltype(a.re * b.re)> {
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}

// A real factor on either side, applied to each part.
template <class T, class S, class = std::enable_if_t<!IsComplex<S>::value>>
auto operator*(const S& s, const Complex<T>& z) -> Complex<decltype(s * z.re)> {
    return {s * z.re, s * z.im};
}

template <class T, class S, class = std::enable_if_t<!IsComplex<S>::value>>
auto operator*(const Complex<T>& z, const S& s) -> Complex<decltype(z.re * s)> {
    return {z.re * s, z.im * s};
}

// z / s for a real s, each part divided
template <class T, class S, class = std::enable_if_t<!IsComplex<S>::value>>
auto operator/(const Complex<T>& z, const S& s) -> Complex<decltype(z.re / s)> {
    return {z.re / s, z.im / s};
}

template <class T>
Complex<T> conj(const Complex<T>& z) {
    return {z.re, -z.im};
}

// a conj(b): with a real factor 1/|b|^2 it is a/b.
template <class A, class B>
auto timesConj(const Complex<A>& a, const Complex<B>& b) -> Complex<decltype(a.re * b.re)> {
    return {a.re * b.re + a.im * b.im, a.im * b.re - a.re * b.im};
}

// |z|^2
template <class T>
T norm(const Complex<T>& z) {
    return z.re * z.re + z.im * z.im;
}

// z^2, its real part as a product of two sums (no cancellation of two squares)
template <class T>
Complex<T> square(const Complex<T>& z) {
    return {(z.re - z.im) * (z.re + z.im), 2.0 * z.re * z.im};
}

}  // namespace orvek
