#pragma once
// Complex arithmetic in 113-bit binary floating point (GCC's __float128 with libquadmath): what the
// high-precision yardsticks of the surface and of the flow field are written in.

#include <quadmath.h>

__extension__ typedef __float128 quad;

struct Complex {
    quad re, im;
};

inline Complex operator+(Complex a, Complex b) { return {a.re + b.re, a.im + b.im}; }
inline Complex operator-(Complex a, Complex b) { return {a.re - b.re, a.im - b.im}; }
inline Complex operator*(Complex a, Complex b) { return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re}; }
inline Complex operator*(quad s, Complex a) { return {s * a.re, s * a.im}; }
inline Complex operator/(Complex a, Complex b) {
    const quad n = b.re * b.re + b.im * b.im;
    return {(a.re * b.re + a.im * b.im) / n, (a.im * b.re - a.re * b.im) / n};
}
inline quad abs(Complex a) { return hypotq(a.re, a.im); }
inline Complex polar(quad modulus, quad angle) { return {modulus * cosq(angle), modulus * sinq(angle)}; }
// The principal power: modulus to the power e, argument in (-pi, pi] times e.
inline Complex power(Complex a, quad e) { return polar(powq(abs(a), e), e * atan2q(a.im, a.re)); }
