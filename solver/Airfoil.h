#pragma once
/// \file
/// The two values the whole program passes around: an airfoil and its coefficients.
///
/// A Karman-Trefftz airfoil is the image of a circle through \f$\zeta = 1\f$ with its centre at
/// \f$\zeta_0 = -F + iG\f$, under the mapping of exponent m (`Solver.h` states it); m = 2 is the
/// Joukowsky airfoil, whose trailing edge is a cusp.

#include "solver/Constants.h"
#include "solver/ShortestText.h"

#include <cmath>
#include <string>

namespace orvek {

struct Airfoil {
    double F = 0;  ///< thickness parameter: the circle's centre lies F to the left of the origin
    double G = 0;  ///< camber parameter: the centre's height
    double m = 2;  ///< Karman-Trefftz exponent

    bool isJoukowsky() const { return orvek::isJoukowsky(m); }

    /// The circle's radius squared, \f$R^2 = (1+F)^2 + G^2\f$ (it passes through \f$\zeta = 1\f$).
    double radiusSquared() const { return (1.0 + F) * (1.0 + F) + G * G; }
    double radius() const { return std::sqrt(radiusSquared()); }

    /// \f$\beta = \arctan\frac{G}{1+F}\f$ in radians: the lift vanishes at the angle of attack \f$-\beta\f$.
    double betaRadians() const { return std::atan(G / (1.0 + F)); }

    /// The mapping scale \f$b = \frac{c}{2m}\left(1 - \left(\frac{F}{1+F}\right)^m\right)\f$ that
    /// makes the chord c: the image of \f$\zeta = -(1+2F)\f$ lies one chord ahead of the trailing edge.
    double mappingScale(double chord = 1.0) const { return (chord / (2.0 * m)) * (1.0 - std::pow(F / (1.0 + F), m)); }

    /// The name a file gives the airfoil when the user gives none ("Joukowsky F=0.1 G=0.05",
    /// "Karman-Trefftz F=0.1 G=0.05 m=1.9"), each number the shortest text that reads back unchanged.
    std::string name() const {
        const std::string fg = "F=" + shortestText(F) + " G=" + shortestText(G);
        return isJoukowsky() ? "Joukowsky " + fg : "Karman-Trefftz " + fg + " m=" + shortestText(m);
    }

    friend bool operator==(const Airfoil& a, const Airfoil& b) { return a.F == b.F && a.G == b.G && a.m == b.m; }
    friend bool operator!=(const Airfoil& a, const Airfoil& b) { return !(a == b); }
};

/// The largest angle of attack accepted, either way, in degrees: one full turn. Far larger angles
/// would lose the angle's own digits in the conversion to radians and its sine.
constexpr double MaxAngleDegrees = 360.0;

/// The closed-form coefficients of one airfoil at one angle of attack.
struct Coefficients {
    double CL = 0;     ///< lift coefficient
    double CMc4 = 0;   ///< moment coefficient about the quarter chord, nose up positive
    double Alfa0 = 0;  ///< zero-lift angle, degrees
};

}  // namespace orvek
