#include "solver/boundarylayer/BoundaryLayer.h"

#include "solver/ShortestText.h"
#include "solver/analysis/GoldenSection.h"
#include "solver/analysis/Sweep.h"
#include "solver/boundarylayer/Closures.h"
#include "solver/boundarylayer/ExactSpeed.h"
#include "solver/flow/FlowField.h"
#include "solver/surface/Solver.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

namespace orvek {

const char* layerStateName(LayerState s) {
    switch (s) {
        case LayerState::Laminar: return "laminar";
        case LayerState::Turbulent: return "turbulent";
        case LayerState::Separated: return "separated";
    }
    return "laminar";
}

namespace {

constexpr double DegreesToRadians = Pi / 180.0;

// The shape factor a turbulent layer starts with, after a trip, natural transition or a bubble.
constexpr double TurbulentStartH = 1.4;

// The mean shape factor of a turbulent reattachment: the separated layer's momentum thickness
// takes the pressure rise from the bubble's plateau back to the exact speed as theta Ue^(H + 2).
constexpr double ReattachmentH = 2.5;

// The largest shape factor of a laminar bubble and of a separated turbulent layer the march
// carries on with (the closures end there; the estimate is flagged long before).
constexpr double LargestLaminarH = 15.0;
constexpr double LargestTurbulentH = 3.0;

// One station of a side before the layer: where it is and the speed the layer sees there.
struct Edge {
    double s = 0, x = 0, y = 0, Ue = 0;
};

enum class Mode { Laminar, Bubble, Turbulent, TurbulentSeparated };

// The layer's state between stations.
struct Layer {
    Mode mode = Mode::Laminar;
    double theta = 0;
    double hs = 0;  // laminar and bubble: the energy shape factor H*; turbulent: Head's H1
    double N = 0;
    double plateau = 0;  // the bubble's edge speed
};

struct Rates {
    double dTheta = 0, dHs = 0, dN = 0;
};

double layerH(const Layer& l) {
    switch (l.mode) {
        case Mode::Laminar: return laminarHFromHstar(l.hs, false);
        case Mode::Bubble: return laminarHFromHstar(l.hs, true);
        default: return headH(l.hs);
    }
}

// The right-hand sides of the integral equations at edge speed Ue with gradient dUe; the
// amplification rate only when asked (N feeds nothing back, so the midpoint's rate alone moves it).
Rates rates(const Layer& l, double Ue, double dUe, double Re, bool amplify) {
    Rates r;
    const double H = layerH(l);
    const double Ret = std::max(Re * Ue * l.theta, 1e-6);
    const double g = l.theta * dUe / Ue;
    if (l.mode == Mode::Laminar || l.mode == Mode::Bubble) {
        const double cf2 = laminarCf2Re(H) / Ret;
        const double cd2 = l.hs * laminarDissipationRe(H) / Ret;  // 2 CD
        r.dTheta = cf2 - (H + 2.0) * g;
        r.dHs = (cd2 - l.hs * cf2 + l.hs * (H - 1.0) * g) / l.theta;
        if (amplify) r.dN = amplificationRate(H, Ret) / l.theta;
    } else {
        const double cf2 = 0.5 * swaffordCf(H, Ret);
        r.dTheta = cf2 - (H + 2.0) * g;
        r.dHs = (headEntrainment(l.hs) - l.hs * r.dTheta - l.hs * g) / l.theta;
    }
    return r;
}

// Skin friction on the edge speed's dynamic pressure, the layer's shape factor H.
double skinFriction(const Layer& l, double H, double Ue, double Re) {
    const double Ret = std::max(Re * Ue * l.theta, 1e-6);
    if (l.mode == Mode::Laminar || l.mode == Mode::Bubble) return 2.0 * laminarCf2Re(H) / Ret;
    return swaffordCf(H, Ret);
}

void keepInRange(Layer& l) {
    if (l.mode == Mode::Laminar) {
        l.hs = std::max(l.hs, LaminarHstarMin);
    } else if (l.mode == Mode::Bubble) {
        l.hs = std::clamp(l.hs, LaminarHstarMin, laminarHstar(LargestLaminarH));
    } else {
        static const double leastH1 = headH1(LargestTurbulentH);
        l.hs = std::max(l.hs, leastH1);
    }
    l.theta = std::max(l.theta, 1e-12);
}

std::string xText(double x) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3f", x);
    return buf;
}

// One side marched from its stagnation point to the trailing edge.
class SideMarch {
public:
    SideMarch(Surface surface, std::vector<Edge> edges, const ViscousInput& in, bool sharpStart,
              std::optional<double> trip, std::vector<ViscousFlag>& flags)
        : surface_(surface), e_(std::move(edges)), in_(in), sharp_(sharpStart), trip_(trip), flags_(flags) {}

    LayerSide run();

private:
    double sAtX(double x) const;
    double xAtS(double s) const;
    void advance(double sa, double sb, double Ua, double Ub);
    void transition(double s, double Ue, bool tripped);

    Surface surface_;
    std::vector<Edge> e_;
    const ViscousInput& in_;
    bool sharp_;
    std::optional<double> trip_;
    std::vector<ViscousFlag>& flags_;
    Layer l_;
    LayerSide side_;
    double sTrip_ = -1;
    double dN_ = 0;  // the amplification rate of the last step
    std::size_t interval_ = 0;
    bool transitioned_ = false;
};

double SideMarch::xAtS(double s) const {
    const std::size_t i = interval_;
    const Edge& a = e_[i];
    const Edge& b = e_[i + 1];
    const double f = b.s > a.s ? (s - a.s) / (b.s - a.s) : 0.0;
    return a.x + f * (b.x - a.x);
}

// The arc length where the side first reaches x/c = x past its foremost point.
double SideMarch::sAtX(double x) const {
    std::size_t front = 0;
    for (std::size_t i = 1; i < e_.size(); ++i) {
        if (e_[i].x < e_[front].x) front = i;
    }
    if (e_[front].x >= x) return e_[front].s;
    for (std::size_t i = front + 1; i < e_.size(); ++i) {
        if (e_[i].x >= x) {
            const Edge& a = e_[i - 1];
            const Edge& b = e_[i];
            return a.s + (x - a.x) / (b.x - a.x) * (b.s - a.s);
        }
    }
    return e_.back().s + 1.0;  // never reached
}

void SideMarch::transition(double s, double Ue, bool tripped) {
    if (transitioned_) return;
    transitioned_ = true;
    side_.transition = std::min(1.0, std::max(0.0, xAtS(s)));
    side_.tripped = tripped;
    if (l_.mode == Mode::Bubble && l_.plateau > Ue) {
        l_.theta *= std::pow(l_.plateau / Ue, ReattachmentH + 2.0);
    }
    l_.mode = Mode::Turbulent;
    l_.hs = headH1(TurbulentStartH);
}

// The layer from arc length sa to sb, the exact speed going linearly from Ua to Ub.
void SideMarch::advance(double sa, double sb, double Ua, double Ub) {
    const double ds = sb - sa;
    if (!(ds > 0.0)) return;
    const double slope = (Ub - Ua) / ds;
    // Head's H1 falls as H grows: H above the separation shape is H1 below its H1.
    static const double separationH1 = headH1(TurbulentSeparationH);
    const auto exactUe = [&](double s) { return Ua + slope * (s - sa); };
    const auto seen = [&](double s, double& Ue, double& dUe) {
        if (l_.mode == Mode::Bubble) {
            Ue = l_.plateau;
            dUe = 0.0;
        } else {
            Ue = exactUe(s);
            dUe = slope;
        }
    };
    double s = sa;
    // A trip inside this interval splits it.
    if (!transitioned_ && sTrip_ > sa && sTrip_ <= sb && sTrip_ < sb) {
        advance(sa, sTrip_, Ua, exactUe(sTrip_));
        transition(sTrip_, exactUe(sTrip_), true);
        s = sTrip_;
    }
    while (s < sb) {
        double Ue = 0, dUe = 0;
        seen(s, Ue, dUe);
        const Rates r0 = rates(l_, Ue, dUe, in_.Re, false);
        // A step that changes theta by ~5 %, H* by ~0.01 (H1 by 0.08) or N by 0.5 (at the last
        // step's rate): the midpoint rule's error stays well below the stations' own.
        const double hsScale = l_.mode == Mode::Laminar || l_.mode == Mode::Bubble ? 0.01 : 0.08;
        const double need = std::max({std::fabs(r0.dTheta) / l_.theta / 0.05, std::fabs(r0.dHs) / hsScale,
                                      std::fabs(dN_) / 0.5, 1e-12});
        const double h = std::min(sb - s, std::max(1.0 / need, (sb - sa) / 256.0));
        // The midpoint rule.
        Layer mid = l_;
        mid.theta += 0.5 * h * r0.dTheta;
        mid.hs += 0.5 * h * r0.dHs;
        keepInRange(mid);
        double Um = 0, dUm = 0;
        seen(s + 0.5 * h, Um, dUm);
        const Rates r1 = rates(mid, Um, dUm, in_.Re, true);
        dN_ = r1.dN;
        Layer next = l_;
        next.theta += h * r1.dTheta;
        next.hs += h * r1.dHs;
        next.N += h * r1.dN;
        const double s1 = s + h;
        const bool laminarSeparates = l_.mode == Mode::Laminar && next.hs <= LaminarHstarMin + 1e-4 && r1.dHs < 0.0;
        keepInRange(next);
        const double N0 = l_.N;
        l_ = next;
        s = s1;
        if (l_.mode == Mode::Laminar || l_.mode == Mode::Bubble) {
            if (l_.N >= in_.Ncrit) {
                const double f = l_.N > N0 ? (in_.Ncrit - N0) / (l_.N - N0) : 1.0;
                const double sT = s - h + f * h;
                l_.N = in_.Ncrit;
                transition(sT, exactUe(sT), false);
                continue;
            }
            if (laminarSeparates) {
                // The laminar layer meets its singular shape: a bubble at the separation point's pressure.
                side_.laminarSeparation = xAtS(s);
                l_.mode = Mode::Bubble;
                l_.plateau = exactUe(s);
                continue;
            }
            if (l_.mode == Mode::Bubble && exactUe(s) >= l_.plateau) {
                // The exact speed rises back to the plateau: the bubble closes laminar.
                l_.mode = Mode::Laminar;
                continue;
            }
        } else if (l_.mode == Mode::Turbulent && l_.hs < separationH1) {
            l_.mode = Mode::TurbulentSeparated;
            if (!side_.separation) side_.separation = xAtS(s);
        }
    }
}

LayerSide SideMarch::run() {
    side_.surface = surface_;
    const std::size_t n = e_.size();
    if (trip_) sTrip_ = sAtX(*trip_);
    // The start at station 1: the stagnation-point (Hiemenz) layer, or Blasius' behind a sharp edge.
    const Edge& first = e_[1];
    double tauStart = 0;  // the friction integral over the first interval, times its direction
    if (sharp_) {
        const double Ft = laminarCf2Re(blasiusH());
        l_.theta = std::sqrt(2.0 * Ft * first.s / (in_.Re * first.Ue));
        l_.hs = laminarHstar(blasiusH());
        tauStart = 2.0 * l_.theta * first.Ue * first.Ue;
    } else {
        const double H = hiemenzH();
        const double lambda = laminarCf2Re(H) / (H + 2.0);
        // Ue = K s + c s^2 through the first two stations: K the speed's slope at the stagnation point.
        const Edge& second = e_[2];
        const double K = (first.Ue * second.s * second.s - second.Ue * first.s * first.s) /
                         (first.s * second.s * (second.s - first.s));
        l_.theta = std::sqrt(lambda / (in_.Re * K));
        l_.hs = laminarHstar(H);
        const double Ret = in_.Re * first.Ue * l_.theta;
        tauStart = 0.5 * (2.0 * laminarCf2Re(H) / Ret) * first.Ue * first.Ue * first.s;
    }
    const double ca = std::cos(in_.alphaDegrees * DegreesToRadians);
    const double sa = std::sin(in_.alphaDegrees * DegreesToRadians);
    const auto along = [&](const Edge& a, const Edge& b) {
        const double ds = std::hypot(b.x - a.x, b.y - a.y);
        return ds > 0.0 ? ((b.x - a.x) * ca + (b.y - a.y) * sa) / ds : 0.0;
    };
    side_.CDf = tauStart * along(e_[0], e_[1]);
    if (trip_ && sTrip_ <= first.s) transition(first.s, first.Ue, true);
    side_.stations.reserve(n - 1);
    double tauPrev = 0;
    for (std::size_t i = 1; i < n; ++i) {
        if (i > 1) {
            interval_ = i - 1;
            advance(e_[i - 1].s, e_[i].s, e_[i - 1].Ue, e_[i].Ue);
        }
        LayerStation st;
        st.s = e_[i].s;
        st.x = e_[i].x;
        st.y = e_[i].y;
        st.Ue = l_.mode == Mode::Bubble ? l_.plateau : e_[i].Ue;
        st.theta = l_.theta;
        st.H = layerH(l_);
        st.deltaStar = st.H * st.theta;
        st.Cf = skinFriction(l_, st.H, st.Ue, in_.Re);
        st.N = l_.N;
        st.state = l_.mode == Mode::Laminar    ? LayerState::Laminar
                   : l_.mode == Mode::Turbulent ? LayerState::Turbulent
                                                : LayerState::Separated;
        const double tau = st.Cf * st.Ue * st.Ue;
        if (i > 1) {
            const Edge& a = e_[i - 1];
            const Edge& b = e_[i];
            side_.CDf += 0.5 * (tauPrev + tau) * ((b.x - a.x) * ca + (b.y - a.y) * sa);
        }
        tauPrev = tau;
        side_.stations.push_back(st);
    }
    const LayerStation& te = side_.stations.back();
    side_.CD = 2.0 * te.theta * std::pow(te.Ue, 0.5 * (te.H + 5.0));
    const char* name = surfaceName(surface_);
    if (side_.separation && *side_.separation > in_.continuation) {
        // Within the last per cent of chord the layer sees the continued speed, not the flow's: a
        // separation there belongs to that choice (at a finite-angle trailing edge the turbulent
        // layer always ends near separating, the coupled flow too), and the drag stays meaningful.
        flags_.push_back({ViscousFlag::Kind::TurbulentSeparation, surface_, *side_.separation, false,
                          std::string("The turbulent layer on the ") + name + " side reaches H = " +
                              shortestText(TurbulentSeparationH) + " at x/c = " + xText(*side_.separation) +
                              ", within the last per cent of chord: it leaves the trailing edge about to separate."});
    } else if (side_.separation) {
        flags_.push_back({ViscousFlag::Kind::TurbulentSeparation, surface_, *side_.separation, true,
                          std::string("The turbulent layer on the ") + name + " side separates at x/c = " +
                              xText(*side_.separation) + " (shape factor H above " + shortestText(TurbulentSeparationH) +
                              "): the estimate past it means nothing."});
    }
    if (l_.mode == Mode::Bubble) {
        side_.separation = side_.laminarSeparation;
        flags_.push_back({ViscousFlag::Kind::OpenLaminarSeparation, surface_, *side_.laminarSeparation, true,
                          std::string("The laminar layer on the ") + name + " side separates at x/c = " +
                              xText(*side_.laminarSeparation) +
                              " and does not turn turbulent before the trailing edge: the estimate means nothing."});
    } else if (side_.laminarSeparation && transitioned_ && !side_.tripped) {
        flags_.push_back({ViscousFlag::Kind::LaminarBubble, surface_, *side_.laminarSeparation, false,
                          std::string("A laminar separation bubble on the ") + name + " side from x/c = " +
                              xText(*side_.laminarSeparation) + " to transition at " + xText(side_.transition) + "."});
    }
    return side_;
}

// The stations of one side: uniform in the circle's polar angle from the stagnation point to the
// trailing edge, arc length along the chords between them, and the speed continued straight
// beyond x/c = continuation.
std::vector<Edge> sideEdges(const ExactSpeed& es, double from, double to, std::size_t n, bool sharp,
                            double continuation) {
    std::vector<Edge> e(n);
    for (std::size_t k = 0; k < n; ++k) {
        const double t = k + 1 == n ? to : from + (to - from) * static_cast<double>(k) / static_cast<double>(n - 1);
        const SurfaceSample p = es.at(t);
        e[k].x = p.x;
        e[k].y = p.y;
        e[k].Ue = p.V;
    }
    e[0].Ue = 0.0;  // the stagnation point (or the sharp edge, whose speed is never used)
    if (sharp) e[0].x = e[0].y = 0.0;
    e.back().x = 1.0;
    e.back().y = 0.0;
    for (std::size_t k = 1; k < n; ++k) e[k].s = e[k - 1].s + std::hypot(e[k].x - e[k - 1].x, e[k].y - e[k - 1].y);
    // The last per cent of chord: the straight continuation of the speed from the last station
    // ahead of x/c = continuation, never below half that speed.
    std::size_t front = 0;
    for (std::size_t k = 1; k < n; ++k) {
        if (e[k].x < e[front].x) front = k;
    }
    std::size_t j = n;
    for (std::size_t k = front + 2; k < n; ++k) {
        if (e[k].x > continuation) {
            j = k;
            break;
        }
    }
    if (j < n) {
        const Edge& a = e[j - 2];
        const Edge& b = e[j - 1];
        const double slope = (b.Ue - a.Ue) / (b.s - a.s);
        for (std::size_t k = j; k < n; ++k) e[k].Ue = std::max(0.5 * b.Ue, b.Ue + slope * (e[k].s - b.s));
    }
    return e;
}

Failure refuse(const std::string& why) { return Failure{"Cannot estimate the boundary layer: " + why}; }

// The end of a sentence about a value outside its range: ", not 5." or "; it is not a number.".
std::string notValue(double v) {
    if (std::isnan(v)) return "; it is not a number.";
    return ", not " + shortestText(v) + ".";
}

}  // namespace

Status viscousArgumentFault(const ViscousInput& in) {
    if (!(in.Re >= MinReynolds && in.Re <= MaxReynolds)) {
        return refuse("the Reynolds number must be from " + shortestText(MinReynolds) + " to " +
                      shortestText(MaxReynolds) + notValue(in.Re));
    }
    if (!(in.Ncrit >= MinNcrit && in.Ncrit <= MaxNcrit)) {
        return refuse("the critical amplification exponent Ncrit must be from " + shortestText(MinNcrit) + " to " +
                      shortestText(MaxNcrit) + notValue(in.Ncrit));
    }
    const struct {
        const char* side;
        const std::optional<double>& trip;
    } trips[] = {{"upper", in.tripUpper}, {"lower", in.tripLower}};
    for (const auto& t : trips) {
        if (t.trip && !(*t.trip >= 0.0 && *t.trip <= 1.0)) {
            return refuse(std::string("the trip on the ") + t.side + " side must lie at x/c from 0 to 1" +
                          notValue(*t.trip));
        }
    }
    if (!(in.mach >= 0.0 && in.mach < 1.0)) {
        return refuse("the Mach number must be at least 0 and below 1" + notValue(in.mach));
    }
    if (in.stations < MinLayerStations || in.stations > MaxLayerStations) {
        return refuse("the stations per side must be from " + std::to_string(MinLayerStations) + " to " +
                      std::to_string(MaxLayerStations) + ", not " + std::to_string(in.stations) + ".");
    }
    if (!(in.continuation >= 0.9 && in.continuation <= 1.0)) {
        return refuse("the speed is continued straight from an x/c from 0.9 to 1" + notValue(in.continuation));
    }
    return {};
}

Status viscousFault(const ViscousInput& in) {
    if (Status fault = viscousArgumentFault(in); !fault) return fault;
    if (Expected<FlowField> f = FlowField::make(in.airfoil, in.alphaDegrees); !f) return Failure{f.error()};
    if (in.airfoil.F == 0.0 && in.alphaDegrees != 0.0) {
        return refuse("the airfoil has a sharp leading edge (F = 0), around which the flow turns at infinite speed "
                      "unless the angle of attack is 0, not " + shortestText(in.alphaDegrees) + ".");
    }
    return {};
}

const char* flagKindName(ViscousFlag::Kind k) {
    switch (k) {
        case ViscousFlag::Kind::TurbulentSeparation: return "turbulent separation";
        case ViscousFlag::Kind::OpenLaminarSeparation: return "laminar separation";
        case ViscousFlag::Kind::LaminarBubble: return "laminar bubble";
        case ViscousFlag::Kind::LocalSupersonic: return "locally supersonic";
    }
    return "";
}

Expected<ViscousResult> boundaryLayer(const ViscousInput& in) {
    if (Status fault = viscousFault(in); !fault) return Failure{fault.error()};
    ViscousResult out;
    out.Re = in.Re;
    out.Ncrit = in.Ncrit;
    SolverInput si;
    si.airfoil = in.airfoil;
    si.AlfaD = in.alphaDegrees;
    const SolverResult c = coefficients(si);
    out.CL = c.coefficients.CL;
    out.CMc4 = c.coefficients.CMc4;
    const ExactSpeed es(in.airfoil, in.alphaDegrees * DegreesToRadians);
    const double stag = es.stagnationAngle();
    const double te = es.trailingEdgeAngle();
    const bool sharp = in.airfoil.F == 0.0;
    SideMarch upper(Surface::Upper, sideEdges(es, stag, te, in.stations, sharp, in.continuation), in, sharp,
                    in.tripUpper, out.flags);
    SideMarch lower(Surface::Lower, sideEdges(es, stag, te + 2.0 * Pi, in.stations, sharp, in.continuation), in,
                    sharp, in.tripLower, out.flags);
    out.upper = upper.run();
    out.lower = lower.run();
    out.CD = out.upper.CD + out.lower.CD;
    out.CDf = out.upper.CDf + out.lower.CDf;
    out.CDp = out.CD - out.CDf;
    if (in.mach > 0.0) {
        Expected<CompressibleResult> cr = compressible(in.airfoil, in.alphaDegrees, in.mach);
        if (!cr) return Failure{cr.error()};
        out.compressible = *cr;
        if (cr->supersonic) {
            out.flags.push_back({ViscousFlag::Kind::LocalSupersonic, Surface::Upper, 0.0, true,
                                 "At Mach " + shortestText(in.mach) + " the flow is locally supersonic (critical Mach " +
                                     xText(cr->criticalMach) + "): the Karman-Tsien correction no longer holds."});
        }
    }
    out.valid = std::none_of(out.flags.begin(), out.flags.end(), [](const ViscousFlag& f) { return f.invalidates; });
    return out;
}

double karmanTsien(double Cp0, double M) {
    const double b = std::sqrt(1.0 - M * M);
    return Cp0 / (b + M * M / (1.0 + b) * 0.5 * Cp0);
}

double sonicCp(double M) {
    constexpr double Gamma = 1.4;
    const double M2 = M * M;
    return 2.0 / (Gamma * M2) *
           (std::pow((2.0 + (Gamma - 1.0) * M2) / (Gamma + 1.0), Gamma / (Gamma - 1.0)) - 1.0);
}

Expected<CompressibleResult> compressible(const Airfoil& airfoil, double alphaDegrees, double M) {
    if (Expected<FlowField> f = FlowField::make(airfoil, alphaDegrees); !f) return Failure{f.error()};
    if (!(M >= 0.0 && M < 1.0)) {
        return refuse("the Mach number must be at least 0 and below 1" + notValue(M));
    }
    SolverInput si;
    si.airfoil = airfoil;
    si.AlfaD = alphaDegrees;
    const SolverResult c = coefficients(si);
    const double alpha = alphaDegrees * DegreesToRadians;
    const ExactSpeed es(airfoil, alpha);
    // The contour counter-clockwise from the trailing edge, half a step off it and off a sharp
    // leading edge. The corrected coefficients are the closed forms plus the change the correction
    // makes to the pressure integrals on the same points, so the integration's own error cancels.
    constexpr std::size_t K = 4000;
    const double step = 2.0 * Pi / K;
    const double te = es.trailingEdgeAngle();
    double xPrev = 1.0, yPrev = 0.0, cpPrev = 0.0, cpcPrev = 0.0;
    double lift0 = 0, liftC = 0, moment0 = 0, momentC = 0;
    double cpMin = 0.0, tMin = te;
    const double ca = std::cos(alpha), sa = std::sin(alpha);
    const auto cpAt = [&](double t) {
        const double V = es.at(t).V;
        return 1.0 - V * V;
    };
    // Cp at the trailing edge: 1 at a finite angle's stagnation point, the cusp's speed otherwise.
    {
        const SurfaceSample p = es.at(te + 1e-9);
        cpPrev = airfoil.isJoukowsky() ? 1.0 - p.V * p.V : 1.0;
        cpcPrev = karmanTsien(cpPrev, M);
    }
    for (std::size_t k = 0; k <= K; ++k) {
        double x = 1.0, y = 0.0, cp = cpPrev;
        if (k < K) {
            const SurfaceSample p = es.at(te + (static_cast<double>(k) + 0.5) * step);
            x = p.x;
            y = p.y;
            cp = 1.0 - p.V * p.V;
            if (cp < cpMin) {
                cpMin = cp;
                tMin = te + (static_cast<double>(k) + 0.5) * step;
            }
        } else {
            const SurfaceSample p = es.at(te + 2.0 * Pi - 1e-9);
            cp = airfoil.isJoukowsky() ? 1.0 - p.V * p.V : 1.0;
        }
        const double cpc = karmanTsien(cp, M);
        const double dx = x - xPrev, dy = y - yPrev;
        const double xm = 0.5 * (x + xPrev) - 0.25, ym = 0.5 * (y + yPrev);
        const double p0 = 0.5 * (cp + cpPrev), pc = 0.5 * (cpc + cpcPrev);
        // force -Cp (dy, -dx); lift along (-sin a, cos a); moment nose up about the quarter chord
        const double liftArm = dy * sa + dx * ca;
        const double momentArm = -(xm * dx + ym * dy);
        lift0 += p0 * liftArm;
        liftC += pc * liftArm;
        moment0 += p0 * momentArm;
        momentC += pc * momentArm;
        xPrev = x;
        yPrev = y;
        cpPrev = cp;
        cpcPrev = cpc;
    }
    // The least Cp refined between its neighbours by golden sections.
    cpMin = std::min(cpMin, goldenMinimum(cpAt, tMin - step, tMin + step, GoldenStop::after(60)).least());
    CompressibleResult out;
    out.M = M;
    out.CL = c.coefficients.CL + (liftC - lift0);
    out.CMc4 = c.coefficients.CMc4 + (momentC - moment0);
    out.CpMin = karmanTsien(cpMin, M);
    // The critical Mach number: the corrected least Cp equals the sonic Cp.
    if (cpMin >= 0.0) {
        out.criticalMach = 1.0;
    } else {
        double lo = 1e-6, hi = 1.0 - 1e-12;
        for (int i = 0; i < 100; ++i) {
            const double mid = 0.5 * (lo + hi);
            if (karmanTsien(cpMin, mid) > sonicCp(mid)) {
                lo = mid;
            } else {
                hi = mid;
            }
        }
        out.criticalMach = 0.5 * (lo + hi);
    }
    out.supersonic = M > 0.0 && M > out.criticalMach;
    return out;
}

Expected<std::vector<DragPolarRow>> dragPolar(const ViscousInput& base, double from, double to, double step) {
    Expected<std::vector<double>> angles = sweepAngles(from, to, step);
    if (!angles) return Failure{angles.error()};
    std::vector<DragPolarRow> rows;
    rows.reserve(angles->size());
    ViscousInput in = base;
    in.mach = 0.0;
    for (double a : *angles) {
        if (stopRequested(in.stop)) return Failure{Interrupted};
        in.alphaDegrees = a;
        Expected<ViscousResult> r = boundaryLayer(in);
        if (!r) return Failure{"At the angle of attack " + shortestText(a) + ": " + r.error()};
        DragPolarRow row;
        row.alpha = a;
        row.CL = r->CL;
        row.CMc4 = r->CMc4;
        row.CD = r->CD;
        row.CDf = r->CDf;
        row.CDp = r->CDp;
        row.transitionUpper = r->upper.transition;
        row.transitionLower = r->lower.transition;
        row.valid = r->valid;
        rows.push_back(row);
    }
    return rows;
}

}  // namespace orvek
