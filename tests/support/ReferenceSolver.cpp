#include "ReferenceSolver.h"

#include <cmath>

orvek::SolverResult referenceSolve(const orvek::SolverInput& in) {
    const double N1 = in.N1, F = in.airfoil.F, G = in.airfoil.G, m = in.airfoil.m, Chord = in.Chord, Pi = orvek::Pi;
    orvek::SolverResult out = orvek::coefficients(in);
    const orvek::MappingConstants& k = out.k;

    const auto N = static_cast<std::size_t>(N1);
    std::vector<double> x(N + 1, 0.0), y(N + 1, 0.0), Cu(N + 1, 0.0);
    std::vector<bool> written(N + 1, false);
    const double K = F == 0.0 ? (N1 - 1) / 2 : (N1 - 1) / 2 + 1;
    const double dTheta = (2 * Pi) / (N1 - 1);
    for (double i = 2; i <= K; ++i) {
        double theta = -(i - 1) * dTheta;
        for (int j = 1; j <= 2; ++j) {
            const double st = std::sin(theta), ct = std::cos(theta);
            const double p = -F * ct + G * st;
            const double r = p + std::sqrt((1 + 2 * F) + p * p);
            const double dPlus = std::sqrt((1 + r * r) + 2 * r * ct);
            const double dMinus = std::sqrt((1 + r * r) - 2 * r * ct);
            const double rho = dMinus / dPlus;
            const double phi = std::atan2(2 * st, r - 1 / r);
            const double D = (1 + std::pow(rho, 2 * m)) - (2 * std::pow(rho, m)) * std::cos(m * phi);
            const double X = (k.mb * (1 - std::pow(rho, 2 * m))) / D;
            const double Y = ((k.mb * 2) * std::pow(rho, m) * std::sin(m * phi)) / D;
            const double s = k.dOverR * std::sin(theta + k.deltaRadians);
            const double gamma = std::atan(s / std::sqrt(1 - s * s));
            const double psi = (theta - k.alphaRadians) - gamma;
            const double J = ((2 * m / dPlus) * (2 * m / dPlus) * std::pow(rho, m - 1)) / D;
            const double V = 2 * (std::sin(k.alphaRadians + k.betaRadians) + std::sin(psi)) / J;
            const auto idx = static_cast<std::size_t>(j == 1 ? i : ((N1 - 1) - i) + 2);
            x[idx] = X - k.shift;
            y[idx] = Y;
            Cu[idx] = V * V;
            written[idx] = true;
            theta = -theta;
        }
    }
    x[1] = Chord;
    x[N] = x[1];
    y[1] = 0;
    y[N] = y[1];
    Cu[1] = m == 2 ? std::cos(k.alphaRadians + k.betaRadians) * std::cos(k.alphaRadians + k.betaRadians) / k.R2 : 0;
    Cu[N] = Cu[1];
    written[1] = written[N] = true;
    out.points.x = std::move(x);
    out.points.y = std::move(y);
    out.points.Cu = std::move(Cu);
    for (std::size_t i = 1; i <= N; ++i) {
        if (!written[i]) out.points.unset.push_back(i);
    }
    return out;
}
