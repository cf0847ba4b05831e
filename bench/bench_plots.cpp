// grafik plus one repaint of both plot areas, and the whole calculation behind the window's
// "Calculate" button (driver, solver, grafik, one repaint), at 51 and 1,000,001 points.

#include "Grafik.h"
#include "PlotArea.h"
#include "case/Catalogue.h"
#include "case/Driver.h"
#include "solver/Solver.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

void GrafikAndRepaint(benchmark::State& state) {
    orvek::SolverInput in;
    in.F = 0.12;
    in.G = 0.1;
    in.m = 1.95;
    in.AlfaD = 3;
    in.N1 = static_cast<double>(state.range(0));
    const orvek::Expected<orvek::SolverResult> o = orvek::ORVEK(in);
    const auto& p = o->points;
    PlotArea profil(QColor(255, 255, 192)), pressure(QColor(255, 255, 192));
    profil.resize(320, 147);
    pressure.resize(320, 201);
    QImage profileImage(profil.size(), QImage::Format_ARGB32_Premultiplied);
    QImage pressureImage(pressure.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        drawCase(profil, pressure, in.N1, p.x, p.y, p.Cu);
        profil.render(&profileImage);  // one paint event each, as on screen
        pressure.render(&pressureImage);
        benchmark::DoNotOptimize(profileImage.bits());
    }
}

// As a repeated press of "Calculate": the driver's spare arrays are warm after the first one.
void WindowCalculation(benchmark::State& state) {
    orvek::CaseState s;
    orvek::storeCatalogue(s, *orvek::readCatalogue("Title\r\n0.1687,0,0.2563,0,0.12,0.1,1.95\r\n"));
    s.SelIndex = 1;
    const std::string points = std::to_string(state.range(0));
    PlotArea profil(QColor(255, 255, 192)), pressure(QColor(255, 255, 192));
    profil.resize(320, 147);
    pressure.resize(320, 201);
    QImage profileImage(profil.size(), QImage::Format_ARGB32_Premultiplied);
    QImage pressureImage(pressure.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        if (!orvek::Calculate(s, points, "3")) state.SkipWithError("case failed");
        drawCase(profil, pressure, *s.NP, s.x(), s.y(), s.OneMinusCp());
        profil.render(&profileImage);
        pressure.render(&pressureImage);
        benchmark::DoNotOptimize(profileImage.bits());
    }
}

}  // namespace

BENCHMARK(GrafikAndRepaint)->Arg(51)->Arg(1000001)->Unit(benchmark::kMillisecond);
BENCHMARK(WindowCalculation)->Arg(51)->Arg(1000001)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
