// Accuracy of the surface points against an independent high-precision evaluation of the complex
// mapping and potential: near the trailing edge and the leading edge at a million points, for
// nearly circular-arc airfoils (F down to 1e-12), with every instruction set this processor has,
// and with the work split among threads. Also the vector mathematical functions of the
// WebAssembly kernels, here on this processor's 2-lane vectors, against the C library.

#include "support/HighPrecision.h"
#include "support/SolveCase.h"
#include "solver/kernels/VectorMath.h"
#include "solver/surface/Solver.h"

#include <QtTest>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

using orvek::SolverInput;
using orvek::SolverResult;

namespace {

// Every x, y and 1-Cp within this of the exact value, relative to max(1, |exact|).
constexpr double Tolerance = 1e-12;

// The indices checked: all of them for small cases; otherwise the 2000 next to each side of the
// trailing edge, the 2000 around the leading edge, and every 499th point in between.
std::vector<std::size_t> sampleIndices(std::size_t N) {
    std::vector<std::size_t> out;
    if (N <= 4001) {
        for (std::size_t i = 2; i < N; ++i) out.push_back(i);
        return out;
    }
    const std::size_t mid = (N + 1) / 2;
    for (std::size_t i = 2; i < N; ++i) {
        const bool nearEdge = i < 2002 || i + 2001 > N || (i + 1000 > mid && i < mid + 1000);
        if (nearEdge || i % 499 == 0) out.push_back(i);
    }
    return out;
}

struct Worst {
    double error = 0;
    std::size_t index = 0;
    const char* what = "";
};

// The largest relative error of `r` over the sampled indices, and where it occurs; also checks
// that exactly the entries the loop does not reach are unset.
Worst worstError(const SolverInput& in, const SolverResult& r, const std::vector<std::size_t>& indices) {
    Worst worst;
    for (std::size_t i : indices) {
        const ExactPoint e = exactSurfacePoint(in, i);
        if (e.set != r.points.isSet(i)) {
            worst.error = HUGE_VAL;
            worst.index = i;
            worst.what = "unset";
            return worst;
        }
        if (!e.set) continue;
        const struct {
            const char* name;
            double got, exact;
        } values[] = {{"x", r.points.x[i], e.x}, {"y", r.points.y[i], e.y}, {"1-Cp", r.points.Cu[i], e.Cu}};
        for (const auto& v : values) {
            const double err = std::fabs(v.got - v.exact) / std::max(1.0, std::fabs(v.exact));
            if (!(err <= worst.error)) worst = {err, i, v.name};
        }
    }
    return worst;
}

double worstOverall = 0;

void report(const Worst& w, const char* isa) {
    worstOverall = std::max(worstOverall, w.error);
    qInfo("%s: worst relative error %.3g (%s at index %zu)", isa, w.error, w.what, w.index);
}

void addCaseColumns() {
    QTest::addColumn<double>("F");
    QTest::addColumn<double>("G");
    QTest::addColumn<double>("m");
    QTest::addColumn<double>("AlfaD");
    QTest::addColumn<double>("N1");
}

// The case of the current data row, from the columns addCaseColumns adds.
SolverInput fetchedCase() {
    QFETCH(double, F);
    QFETCH(double, G);
    QFETCH(double, m);
    QFETCH(double, AlfaD);
    QFETCH(double, N1);
    return caseInput(F, G, m, AlfaD, N1);
}

// The surface computed as `how` says within Tolerance of the yardstick.
void checkAgainstHighPrecision(const SolverInput& in, const orvek::SurfaceOptions& how) {
    const orvek::InstructionSet set = how.instructionSet;
    const orvek::Expected<SolverResult> r = orvek::ORVEK(in, {}, how);
    QVERIFY2(r, r ? "" : r.error().c_str());
    const Worst w = worstError(in, *r, sampleIndices(orvek::pointCount(in)));
    report(w, orvek::instructionSetName(set));
    QVERIFY2(
        w.error <= Tolerance,
        qPrintable(
            QString("%1: %2 at index %3: %4").arg(orvek::instructionSetName(set), w.what).arg(w.index).arg(w.error)));
}

// The vector functions on 2 lanes, as the WebAssembly kernels instantiate them.
typedef double Pair __attribute__((vector_size(16)));
typedef long long PairBits __attribute__((vector_size(16)));
struct PairLanes {
    static constexpr std::size_t Width = 2;
    static Pair sqrt(Pair v) { return Pair{std::sqrt(v[0]), std::sqrt(v[1])}; }
    static bool allTrue(PairBits mask) { return mask[0] != 0 && mask[1] != 0; }
};
using PairMath = orvek::VectorMath<Pair, PairBits, PairLanes>;

// The function named, on both lanes at once (b is atan2's x), and the C library's.
Pair vectorFunction(const QString& f, Pair a, Pair b) {
    Pair s, c;
    if (f == "exp") return PairMath::exp(a);
    if (f == "log") return PairMath::log(a);
    if (f == "atan2") return PairMath::atan2(a, b);
    PairMath::sincos(a, s, c);
    return f == "sin" ? s : c;
}
double libraryFunction(const QString& f, double a, double b) {
    if (f == "exp") return std::exp(a);
    if (f == "log") return std::log(a);
    if (f == "atan2") return std::atan2(a, b);
    return f == "sin" ? std::sin(a) : std::cos(a);
}

// Units in the last place between two values: 0 for equal ones (two NaNs too), infinite when
// only one is a NaN, an infinity or of the other sign.
double ulpsApart(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b) ? 0 : HUGE_VAL;
    if (a == b) return 0;
    if (std::isinf(a) || std::isinf(b) || std::signbit(a) != std::signbit(b)) return HUGE_VAL;
    std::int64_t ia = 0, ib = 0;
    std::memcpy(&ia, &a, sizeof a);
    std::memcpy(&ib, &b, sizeof b);
    return std::fabs(static_cast<double>(ia - ib));
}

}  // namespace

class TestAccuracy : public QObject {
    Q_OBJECT
private slots:
    // The yardstick itself gives the published figures: those of a 51-point case, and at a million
    // points the 1-Cp next to the trailing edge that an independent 40-digit evaluation gave.
    void yardstickGivesKnownFigures_data() {
        addCaseColumns();
        QTest::addColumn<int>("index");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<double>("Cu");  // each to the decimals written; NaN: not checked
        QTest::addColumn<int>("decimals");
        const double skip = std::nan("");
        QTest::newRow("index 2") << 0.1 << 0.05 << 2.0 << 5.0 << 51.0 << 2 << 0.996096 << 0.000309 << 0.786737 << 6;
        QTest::newRow("index 25") << 0.1 << 0.05 << 2.0 << 5.0 << 51.0 << 25 << 0.004544 << -0.010989 << skip << 6;
        QTest::newRow("index 26") << 0.1 << 0.05 << 2.0 << 5.0 << 51.0 << 26 << 0.0 << 0.0 << 1.299078 << 6;
        QTest::newRow("index 27") << 0.1 << 0.05 << 2.0 << 5.0 << 51.0 << 27 << 0.003520 << 0.011709 << skip << 6;
        QTest::newRow("circular arc") << 0.0 << 0.05 << 2.0 << 5.0 << 51.0 << 27 << skip << skip << 5.765423 << 6;
        QTest::newRow("next to the trailing edge")
            << 0.1 << 0.05 << 2.0 << 5.0 << 1000001.0 << 1000000 << skip << skip << 0.8103077 << 7;
    }
    void yardstickGivesKnownFigures() {
        QFETCH(int, index);
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(double, Cu);
        QFETCH(int, decimals);
        const ExactPoint e = exactSurfacePoint(fetchedCase(), static_cast<std::size_t>(index));
        QVERIFY(e.set);
        const double halfUnit = 0.5 * std::pow(10.0, -decimals) + 1e-15;
        if (!std::isnan(x)) QVERIFY2(std::fabs(e.x - x) <= halfUnit, qPrintable(QString::number(e.x, 'g', 17)));
        if (!std::isnan(y)) QVERIFY2(std::fabs(e.y - y) <= halfUnit, qPrintable(QString::number(e.y, 'g', 17)));
        if (!std::isnan(Cu)) QVERIFY2(std::fabs(e.Cu - Cu) <= halfUnit, qPrintable(QString::number(e.Cu, 'g', 17)));
    }

    // The preferred instruction set (the one ORVEK_SIMD forces), and for the rows marked so each set
    // this build has and this processor runs.
    void againstHighPrecision_data() {
        addCaseColumns();
        QTest::addColumn<bool>("everySet");
        const double million = 1000001;
        const auto row = [](const char* name, double F, double G, double m, double AlfaD, double N1,
                            bool everySet = false) { QTest::newRow(name) << F << G << m << AlfaD << N1 << everySet; };
        row("Joukowsky, a million points", 0.1, 0.05, 2.0, 5.0, million, true);
        row("Karman-Trefftz 1.95, a million points", 0.12, 0.1, 1.95, -2.0, million, true);
        row("Karman-Trefftz 1.9, a million points", 0.1, 0.05, 1.9, 5.0, million);
        row("negative camber, even count", 0.1, -0.05, 1.9, 3.0, 1000000.0);
        row("thick, steep angle", 0.4, 0.2, 1.8, -8.0, million);
        row("circular arc, a million points", 0.0, 0.05, 2.0, 5.0, million);
        row("circular arc, even count", 0.0, 0.05, 2.0, 5.0, 100000.0, true);
        row("circular arc Karman-Trefftz", 0.0, 0.08, 1.9, 2.0, million);
        row("flat plate", 0.0, 0.0, 2.0, 3.0, million);
        row("negative F, whole m", -0.05, 0.05, 2.0, 2.0, million);
        row("m = 3", 0.1, 0.05, 3.0, 4.0, million);
        row("m = 1", 0.1, 0.05, 1.0, 4.0, 2001.0);
        const double thin[] = {1e-12, 1e-9, 1e-6, 1e-3};
        for (double F : thin) {
            for (double m : {1.9, 2.0}) {
                for (double N1 : {101.0, million}) {
                    QTest::addRow("F %g, m %g, NP %g", F, m, N1) << F << 0.05 << m << 5.0 << N1 << false;
                }
            }
            QTest::addRow("F %g, symmetric", F) << F << 0.0 << 1.9 << 4.0 << 2001.0 << false;
            QTest::addRow("F %g, negative camber", F) << F << -0.05 << 2.0 << -3.0 << 2001.0 << false;
        }
        row("F 1e-12, every set", 1e-12, 0.05, 1.9, 5.0, 100001.0, true);
        // The corners of the calculated domain (|F|, |G| up to 20, |m| from 1 to 4) keep 1e-12.
        for (double m : {1.0, 1.001, 1.5, 2.0, -1.0, 3.0}) {
            QTest::addRow("domain corner, m %g", m) << 20.0 << 20.0 << m << 5.0 << 2001.0 << false;
            QTest::addRow("domain corner, negative G, m %g", m) << 20.0 << -20.0 << m << -5.0 << 2001.0 << false;
        }
        row("domain edge, circular arc", 0.0, 20.0, 2.0, 5.0, 2001.0, true);
        row("odd small", 0.1, 0.05, 1.9, 5.0, 7.0);
        row("three points", 0.1, 0.05, 1.9, 5.0, 3.0);
    }
    void againstHighPrecision() {
        QFETCH(bool, everySet);
        const SolverInput in = fetchedCase();
        checkAgainstHighPrecision(in, orvek::defaultSurfaceOptions(orvek::pointCount(in)));
        if (!everySet) return;
        for (orvek::InstructionSet set : {orvek::InstructionSet::Scalar, orvek::InstructionSet::Sse2,
                                          orvek::InstructionSet::Avx2, orvek::InstructionSet::Avx512}) {
            if (orvek::instructionSetAvailable(set)) {
                checkAgainstHighPrecision(in, {set, 1});
            } else {
                qInfo("%s: not available here", orvek::instructionSetName(set));
            }
        }
    }

    // Airfoils drawn at random over the whole range the solver accepts, every point checked.
    void randomAirfoils_data() {
        QTest::addColumn<int>("seed");
        for (int seed = 1; seed <= 4; ++seed) QTest::addRow("seed %d", seed) << seed;
    }
    void randomAirfoils() {
        QFETCH(int, seed);
        std::mt19937_64 draw(static_cast<std::uint64_t>(seed));
        const auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(draw); };
        for (int k = 0; k < 25; ++k) {
            SolverInput in = caseInput(uniform(-0.45, 0.6), uniform(-0.4, 0.4), uniform(1.0, 2.2), uniform(-15, 15),
                                       std::floor(uniform(2, 2002)));
            if (in.airfoil.F < 0) in.airfoil.m = std::round(in.airfoil.m);  // a negative F needs a whole exponent
            if (k % 5 == 0) in.airfoil.m = 2;
            const orvek::Expected<SolverResult> r = orvek::ORVEK(in);
            QVERIFY2(r, r ? "" : r.error().c_str());
            const Worst w = worstError(in, *r, sampleIndices(static_cast<std::size_t>(in.N1)));
            worstOverall = std::max(worstOverall, w.error);
            QVERIFY2(w.error <= Tolerance, qPrintable(QString("F %1 G %2 m %3 alpha %4 NP %5: %6 at index %7: %8")
                                                          .arg(in.airfoil.F)
                                                          .arg(in.airfoil.G)
                                                          .arg(in.airfoil.m)
                                                          .arg(in.AlfaD)
                                                          .arg(in.N1)
                                                          .arg(w.what)
                                                          .arg(w.index)
                                                          .arg(w.error)));
        }
    }

    // Splitting the surface among threads changes nothing, to the last bit, for any split.
    void threadsGiveIdenticalResults_data() {
        addCaseColumns();
        QTest::newRow("Karman-Trefftz, odd") << 0.12 << 0.1 << 1.95 << -2.0 << 1000001.0;
        QTest::newRow("Joukowsky, even") << 0.1 << 0.05 << 2.0 << 5.0 << 100000.0;
        QTest::newRow("circular arc, unset middle") << 0.0 << 0.05 << 1.9 << 5.0 << 300001.0;
        QTest::newRow("few points") << 0.1 << 0.05 << 1.9 << 5.0 << 131.0;
    }
    void threadsGiveIdenticalResults() {
        const SolverInput in = fetchedCase();
        const orvek::InstructionSet set = orvek::preferredInstructionSet();
        const SolverResult one = *orvek::ORVEK(in, {}, {set, 1});
        for (unsigned threads : {2u, 3u, 7u}) {
            const SolverResult many = *orvek::ORVEK(in, {}, {set, threads});
            QCOMPARE(many.points.unset, one.points.unset);
            for (const auto& pair :
                 {std::make_pair(&one.points.x, &many.points.x), std::make_pair(&one.points.y, &many.points.y),
                  std::make_pair(&one.points.Cu, &many.points.Cu)}) {
                QCOMPARE(pair.second->size(), pair.first->size());
                QVERIFY2(std::memcmp(pair.first->data(), pair.second->data(), pair.first->size() * sizeof(double)) == 0,
                         qPrintable(QString("%1 threads").arg(threads)));
            }
        }
    }

    // Arrays handed back for reuse, larger or smaller than needed, give the same values as fresh ones.
    void reusedArraysGiveIdenticalResults() {
        const SolverInput in = caseInput(0.0, 0.05, 2.0, 5.0, 1001);
        const SolverResult fresh = solveCase(in);
        for (double previousN1 : {51.0, 100001.0}) {
            SolverResult previous = solveCase(caseInput(0.1, 0.05, 1.9, 5.0, previousN1));
            const SolverResult reused = *orvek::ORVEK(in, std::move(previous.points));
            QCOMPARE(reused.points.x, fresh.points.x);
            QCOMPARE(reused.points.y, fresh.points.y);
            QCOMPARE(reused.points.Cu, fresh.points.Cu);
            QCOMPARE(reused.points.unset, fresh.points.unset);
        }
    }

    // ORVEK_SIMD names the kernel; a value naming none is said once and the widest one is used,
    // so the results stay those of an unset variable.
    void instructionSetByName_data() {
        QTest::addColumn<QString>("wanted");
        QTest::addColumn<QString>("said");
        QTest::newRow("scalar") << "scalar"
                                << "";
        QTest::newRow("sse2") << "sse2"
                              << "";
        QTest::newRow("unknown") << "avx9"
                                 << "ORVEK_SIMD=avx9 names no instruction set (avx512, avx2, sse2 or scalar); the "
                                    "widest this processor runs is used.\n";
    }
    void instructionSetByName() {
        QFETCH(QString, wanted);
        QFETCH(QString, said);
        const QStringList args{"solve", "--F", "0.1", "--G", "0.05", "--m", "1.9", "--alpha", "5", "--np", "41"};
        const auto run = [&](const QString& simd) {
            QProcess p;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("ORVEK_SIMD", simd);
            p.setProcessEnvironment(env);
            p.start(ORVEK_BATCH, args);
            p.waitForFinished();
            return std::make_pair(p.readAllStandardOutput(), QString::fromUtf8(p.readAllStandardError()));
        };
        const auto [out, err] = run(wanted);
        QCOMPARE(err, said);
        QVERIFY(out.startsWith("{\"CL\": "));
        if (!said.isEmpty()) QCOMPARE(out, run("").first);
    }

    // Each vector function within its bound of the C library over its range (random arguments,
    // log-spaced where `logSpaced`; atan2's y and x both so, with random signs), and at zeros,
    // subnormals, infinities, NaNs and the edges of the fast path, where the C library's own value
    // comes back, also when only the other lane holds such an argument.
    void vectorMathAgainstLibrary_data() {
        QTest::addColumn<QString>("function");
        QTest::addColumn<double>("lo");
        QTest::addColumn<double>("hi");
        QTest::addColumn<bool>("logSpaced");
        QTest::addColumn<double>("maxUlps");
        QTest::newRow("exp, normal results") << "exp" << -707.9 << 707.9 << false << 1.0;
        QTest::newRow("exp near 0") << "exp" << -1.0 << 1.0 << false << 1.0;
        QTest::newRow("log, normal arguments") << "log" << -708.0 << 709.0 << true << 3.0;
        QTest::newRow("log near 1") << "log" << 0.7 << 1.45 << false << 3.0;
        QTest::newRow("sin") << "sin" << -1e5 << 1e5 << false << 2.0;
        QTest::newRow("sin, a turn") << "sin" << -4.0 << 4.0 << false << 2.0;
        QTest::newRow("cos") << "cos" << -1e5 << 1e5 << false << 2.0;
        QTest::newRow("cos, a turn") << "cos" << -4.0 << 4.0 << false << 2.0;
        QTest::newRow("atan2") << "atan2" << -300.0 << 300.0 << true << 2.0;
        QTest::newRow("atan2, like magnitudes") << "atan2" << -1.0 << 1.0 << true << 2.0;
    }
    void vectorMathAgainstLibrary() {
        QFETCH(QString, function);
        QFETCH(double, lo);
        QFETCH(double, hi);
        QFETCH(bool, logSpaced);
        QFETCH(double, maxUlps);
        std::mt19937_64 random(7);
        std::uniform_real_distribution<double> uniform(lo, hi), sign(-1.0, 1.0);
        const auto draw = [&] {
            if (!logSpaced) return uniform(random);
            const double v = std::exp(uniform(random));
            return function == "atan2" ? std::copysign(v, sign(random)) : v;
        };
        double worst = 0;
        QString where;
        const auto check = [&](Pair a, Pair b) {
            const Pair got = vectorFunction(function, a, b);
            for (int j = 0; j < 2; ++j) {
                const double e = ulpsApart(got[j], libraryFunction(function, a[j], b[j]));
                if (e > worst) {
                    worst = e;
                    where = QString("(%1, %2)").arg(a[j], 0, 'g', 17).arg(b[j], 0, 'g', 17);
                }
            }
        };
        for (int k = 0; k < 200000; ++k) check(Pair{draw(), draw()}, Pair{draw(), draw()});
        const double specials[] = {0.0,   -0.0,     4.9e-324, -4.9e-324, 2.2250738585072014e-308, 1e-310,
                                   708.0, -708.0,   709.78,   -745.2,    1e5,  -1e5, 1.00000001e5, 1e300,
                                   1e-300, HUGE_VAL, -HUGE_VAL, std::nan(""), 1.0,  -1.0};
        for (double x : specials) {
            for (double y : specials) check(Pair{x, 0.5}, Pair{y, 2.0});
            check(Pair{0.5, x}, Pair{2.0, x});
        }
        QVERIFY2(worst <= maxUlps, qPrintable(QString("%1 ulp at %2").arg(worst).arg(where)));
    }

    void cleanupTestCase() { qInfo("worst relative error over all cases: %.3g", worstOverall); }
};

QTEST_GUILESS_MAIN(TestAccuracy)
#include "test_accuracy.moc"
