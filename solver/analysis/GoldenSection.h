#pragma once
// The one golden-section search of the solver: the least of a function with one minimum inside
// an interval. The airfoil's foremost point, its thickest and most cambered stations, the suction
// peak of the surface and the least Cp of the compressible estimate are all found with it.

#include <algorithm>
#include <limits>

namespace orvek {

// 1/golden ratio: each section keeps this share of the interval.
inline constexpr double GoldenRatio = 0.6180339887498949;

// When the sections stop: after `iterations` of them, or once the interval is no wider than
// `width`, whichever comes first.
struct GoldenStop {
    int iterations = std::numeric_limits<int>::max();
    double width = -1.0;  // below any interval: no width stop

    static GoldenStop after(int n) { return {n, -1.0}; }
    static GoldenStop narrowerThan(double w) { return {std::numeric_limits<int>::max(), w}; }
};

// What the sections leave: the interval [a, b] that holds the minimum, its two inner points
// c < d and the function's values there.
struct GoldenBracket {
    double a = 0, b = 0, c = 0, d = 0, fc = 0, fd = 0;

    // The inner point of the smaller value (d on a tie) and that value.
    double best() const { return fc < fd ? c : d; }
    double least() const { return std::min(fc, fd); }
};

// Narrows [a, b] around the minimum of f by golden sections: of two equal inner values the
// interval keeps the right-hand one. For a maximum, pass -f.
template <typename Fn>
GoldenBracket goldenMinimum(Fn f, double a, double b, GoldenStop stop) {
    GoldenBracket g;
    g.a = a;
    g.b = b;
    g.c = b - GoldenRatio * (b - a);
    g.d = a + GoldenRatio * (b - a);
    g.fc = f(g.c);
    g.fd = f(g.d);
    for (int k = 0; k < stop.iterations && !(g.b - g.a <= stop.width); ++k) {
        if (g.fc < g.fd) {
            g.b = g.d;
            g.d = g.c;
            g.fd = g.fc;
            g.c = g.b - GoldenRatio * (g.b - g.a);
            g.fc = f(g.c);
        } else {
            g.a = g.c;
            g.c = g.d;
            g.fc = g.fd;
            g.d = g.a + GoldenRatio * (g.b - g.a);
            g.fd = f(g.d);
        }
    }
    return g;
}

}  // namespace orvek
