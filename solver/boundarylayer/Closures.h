#pragma once
// The closures of the integral boundary layer, as functions of the shape factor H and the
// momentum-thickness Reynolds number Re_theta (laminar: fits to the Falkner-Skan family and its
// separated continuation; turbulent: Head's entrainment and Swafford's skin friction;
// transition: the envelope of the Orr-Sommerfeld amplification rates of the same family).

#include <cmath>

namespace orvek {

// The least laminar energy shape factor H*, at H = 4: the direct march's singular shape, where the
// laminar layer separates.
inline constexpr double LaminarHstarMin = 1.515;

// H* = theta*/theta of the laminar family.
inline double laminarHstar(double H) {
    const double d = H - 4.0;
    return H < 4.0 ? 1.515 + 0.076 * d * d / H : 1.515 + 0.040 * d * d / H;
}

// H from H*, on the attached branch (H < 4) or the separated one (H > 4).
inline double laminarHFromHstar(double hs, bool separated) {
    const double d = std::fmax(hs - LaminarHstarMin, 0.0);
    if (!separated) {
        const double p = 0.608 + d;
        return (p - std::sqrt(std::fmax(p * p - 4.0 * 0.076 * 1.216, 0.0))) / (2.0 * 0.076);
    }
    const double p = 0.32 + d;
    return (p + std::sqrt(std::fmax(p * p - 4.0 * 0.04 * 0.64, 0.0))) / (2.0 * 0.04);
}

// Re_theta Cf/2 of the laminar family: 0.222 for Blasius (0.220 exact), 0.359 at the stagnation
// point (0.360), falling to zero at H = 3.83, a little ahead of the singular shape H = 4. In the
// adverse range it lies below a fit made for attached layers alone (0.107 against 0.124 at H = 3):
// a laminar layer behind the suction peak keeps more energy shape factor H* and reaches its
// strongly amplifying shapes later, which puts transition where a coupled calculation puts it.
inline double laminarCf2Re(double H) {
    if (H < 5.5) {
        const double d = 5.5 - H;
        return 0.5 * (0.0727 * d * d * d / (H + 1.0) - 0.07);
    }
    const double q = 1.0 - 1.0 / (H - 4.5);
    return 0.5 * (0.015 * q * q - 0.07);
}

// Re_theta 2CD/H* of the laminar family (CD the dissipation coefficient).
inline double laminarDissipationRe(double H) {
    if (H < 4.0) {
        const double d = 4.0 - H, d2 = d * d;
        return 0.207 + 0.00205 * d2 * d2 * d * std::sqrt(d);  // (4 - H)^5.5
    }
    const double d = H - 4.0;
    return 0.207 - 0.0016 * d * d / (1.0 + 0.02 * d * d);
}

// dN/ds times theta: the envelope amplification rate, zero below the critical Re_theta0(H).
inline double amplificationRate(double H, double Ret) {
    const double h1 = 1.0 / (H - 1.0);
    // Re_theta0 is above 11 for every shape up to H = 16: no rate below it.
    if (Ret < 11.0) return 0.0;
    // the critical Re_theta0(H) of the envelope: 262 for Blasius, 73 at H = 3
    const double log10Crit = 2.492 * std::pow(h1, 0.43) + 0.7 * (std::tanh(14.0 * h1 - 9.24) + 1.0);
    if (!(std::log10(Ret) > log10Crit)) return 0.0;
    const double a = 2.4 * H - 3.7 + 2.5 * std::tanh(1.5 * H - 4.65);
    const double dNdRet = 0.01 * std::sqrt(a * a + 0.25);
    const double l = (6.54 * H - 14.07) / (H * H);
    const double m = (0.058 * (H - 4.0) * (H - 4.0) * h1 - 0.068) / l;
    return dNdRet * 0.5 * (m + 1.0) * l;
}

// Head's shape factor H1 = (delta - delta*)/theta from H, and back.
inline double headH1(double H) {
    return H <= 1.6 ? 3.3 + 0.8234 * std::pow(H - 1.1, -1.287) : 3.3 + 1.5501 * std::pow(H - 0.6778, -3.064);
}
inline double headH(double H1) {
    const double split = 3.3 + 0.8234 * std::pow(0.5, -1.287);
    return H1 >= split ? 1.1 + std::pow((H1 - 3.3) / 0.8234, -1.0 / 1.287)
                       : 0.6778 + std::pow((H1 - 3.3) / 1.5501, -1.0 / 3.064);
}
// Head's entrainment: (1/Ue) d(Ue theta H1)/ds.
inline double headEntrainment(double H1) { return 0.0306 * std::pow(H1 - 3.0, -0.6169); }

// Swafford's turbulent skin friction, a fit to measured profiles from the flat plate to
// separation (Ludwieg-Tillmann's law, fitted to attached layers alone, gives some 5 % more on an
// airfoil's turbulent layers).
inline double swaffordCf(double H, double Ret) {
    const double lr = std::log10(std::fmax(Ret, 10.0));
    // 0.3 e^(-1.33 H) lr^(-1.74 - 0.31 H) in one exponential, tanh(a) - 1 as -2/(e^(2a) + 1)
    return 0.3 * std::exp(-1.33 * H - (1.74 + 0.31 * H) * std::log(lr)) -
           0.00022 / (std::exp(8.0 - H / 0.4375) + 1.0);
}

// The root of f in [a, b] by bisection (f(a) and f(b) of opposite signs).
template <class Fn>
double bisect(Fn f, double a, double b) {
    const bool rising = f(b) > f(a);
    for (int i = 0; i < 80; ++i) {
        const double mid = 0.5 * (a + b);
        if ((f(mid) > 0.0) == rising) {
            b = mid;
        } else {
            a = mid;
        }
    }
    return 0.5 * (a + b);
}

// The flat plate's shape factor in this family (Blasius): friction and dissipation balance.
inline double blasiusH() {
    static const double H = bisect([](double h) { return laminarDissipationRe(h) - laminarCf2Re(h); }, 2.2, 3.5);
    return H;
}

// The stagnation point's shape factor (Hiemenz, Ue = K s): 3 Re_theta Cf/2 = (H + 2) Re_theta 2CD/H*.
inline double hiemenzH() {
    static const double H =
        bisect([](double h) { return (h + 2.0) * laminarDissipationRe(h) - 3.0 * laminarCf2Re(h); }, 1.8, 3.0);
    return H;
}

}  // namespace orvek
