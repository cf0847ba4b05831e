#include "solver/boundarylayer/ExactSpeed.h"

#include "solver/Complex.h"

#include <cmath>

namespace orvek {

ExactSpeed::ExactSpeed(const Airfoil& airfoil, double alphaRadians)
    : m_(airfoil.m),
      R_(airfoil.radius()),
      beta_(airfoil.betaRadians()),
      alpha_(alphaRadians),
      joukowsky_(airfoil.isJoukowsky()) {
    const double b = airfoil.mappingScale(1.0);
    mb_ = m_ * b;
    shift_ = mb_ - 1.0;
    scale_ = 1.0 / (m_ * m_ * std::pow(2.0 * R_, m_ - 1.0));
    cb_ = std::cos(0.5 * beta_);
    sb_ = std::sin(0.5 * beta_);
    cc_ = std::cos(alpha_ + 0.5 * beta_);
    sc_ = std::sin(alpha_ + 0.5 * beta_);
    // pi + 2 alpha + beta, brought within (-beta, 2 pi - beta)
    const double twoPi = 2.0 * Pi;
    double s = Pi + 2.0 * alpha_ + beta_;
    s -= twoPi * std::floor((s + beta_) / twoPi);
    stagnation_ = s;
}

SurfaceSample ExactSpeed::at(double vartheta) const {
    // The three half angles (vartheta + beta)/2, (vartheta - beta)/2 and vartheta/2 - alpha - beta/2
    // are vartheta/2 turned by constants: one sine and cosine, three rotations.
    const double sh = std::sin(0.5 * vartheta), ch = std::cos(0.5 * vartheta);
    const double sig = sh * cb_ + ch * sb_;
    const double sg = sh * cb_ - ch * sb_, cg = ch * cb_ + sh * sb_;
    // zeta - 1 = 2 i R sin(h) e^(i g), exact near the trailing edge; zeta + 1 = (zeta - 1) + 2
    const Complex<double> zm = (2.0 * R_ * sig) * Complex<double>{-sg, cg}, zp = 2.0 + zm;
    const double dp2 = norm(zp);
    const Complex<double> q = timesConj(zm, zp) / dp2;
    Complex<double> w = square(q);
    double dpPow = 0, sigPow = 1;
    if (joukowsky_) {
        dpPow = dp2 * std::sqrt(dp2);
    } else {
        // The principal argument keeps each point on its own side of the trailing edge.
        const double rhoM = std::pow(norm(q), 0.5 * m_);
        const double phi = std::atan2(q.im, q.re);
        w = rhoM * Complex<double>{std::cos(m_ * phi), std::sin(m_ * phi)};
        dpPow = std::pow(dp2, 0.5 * (m_ + 1.0));
        sigPow = std::pow(std::fabs(sig), 2.0 - m_);
    }
    const double D = norm(1.0 - w);  // |1 - w|^2
    SurfaceSample out;
    out.x = mb_ * (1.0 - norm(w)) / D - shift_;
    out.y = 2.0 * mb_ * w.im / D;
    const double c = ch * cc_ + sh * sc_;  // cos(vartheta/2 - (alpha + beta/2))
    out.V = std::fabs(c) * D * dpPow * sigPow * scale_;
    return out;
}

}  // namespace orvek
