#pragma once
// The program's value of pi and the one test for a Joukowsky airfoil.

namespace orvek {

// 4*atan(1): pi to double precision, the solver's value of pi.
inline constexpr double Pi = 3.141592653589793;

// The Karman-Trefftz exponent of a Joukowsky airfoil: its trailing edge is a cusp.
inline constexpr double JoukowskyExponent = 2.0;

inline constexpr bool isJoukowsky(double m) { return m == JoukowskyExponent; }

}  // namespace orvek
