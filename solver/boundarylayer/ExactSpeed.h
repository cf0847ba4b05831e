#pragma once
/// \file
/// The surface of a Karman-Trefftz airfoil and its exact speed, at any polar angle \f$\vartheta\f$
/// about the circle's centre (chord 1, trailing edge at (1, 0), unit free stream at \f$\alpha\f$).
///
/// On the circle \f$\zeta = \zeta_0 + Re^{i\vartheta}\f$, with \f$\zeta_0 = -F + iG\f$ and the
/// trailing edge at \f$\vartheta_{TE} = -\beta\f$:
/// \f[ \zeta - 1 = 2iR\sin\tfrac{\vartheta + \beta}{2}\,e^{i(\vartheta - \beta)/2}, \qquad
///     |dW/d\zeta| = 4b\left|\sin\tfrac{\vartheta + \beta}{2}\cos\tfrac{\vartheta - 2\alpha - \beta}{2}\right|, \f]
/// the front stagnation point at \f$\vartheta_S = \pi + 2\alpha + \beta\f$, and with
/// \f$w = ((\zeta - 1)/(\zeta + 1))^m\f$ the speed \f$|dW/d\zeta| / |dz/d\zeta|\f$ is
/// \f[ V = \frac{|\cos\frac{\vartheta - 2\alpha - \beta}{2}|\;|1 - w|^2\,|\zeta + 1|^{m+1}
///          \,|\sin\frac{\vartheta + \beta}{2}|^{2-m}}{m^2 (2R)^{m-1}}, \f]
/// written so that the zero of the circle speed at the trailing edge cancels analytically: V goes
/// to zero there as \f$|\vartheta + \beta|^{2-m}\f$ for m < 2 and stays finite at a cusp (m = 2).

#include "solver/Airfoil.h"

namespace orvek {

struct SurfaceSample {
    double x = 0, y = 0;  ///< the surface point, chords
    double V = 0;         ///< the exact surface speed, free-stream speeds
};

class ExactSpeed {
public:
    /// For an airfoil with F >= 0 and 1 < m <= 2 (checked by the caller).
    ExactSpeed(const Airfoil& airfoil, double alphaRadians);

    SurfaceSample at(double vartheta) const;

    double trailingEdgeAngle() const { return -beta_; }
    /// The front stagnation point's polar angle, within (-beta, 2 pi - beta).
    double stagnationAngle() const { return stagnation_; }

private:
    double m_ = 2, R_ = 1, beta_ = 0, alpha_ = 0, mb_ = 1, shift_ = 0, stagnation_ = 0;
    double scale_ = 1;  ///< 1 / (m^2 (2R)^(m-1))
    double cb_ = 1, sb_ = 0;  ///< cos and sin of beta/2
    double cc_ = 1, sc_ = 0;  ///< cos and sin of alpha + beta/2
    bool joukowsky_ = true;
};

}  // namespace orvek
