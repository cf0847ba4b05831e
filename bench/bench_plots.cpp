// grafik plus one repaint of both plot areas, at 51 and 1,000,001 points.

#include "Grafik.h"
#include "PlotArea.h"
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

}  // namespace

BENCHMARK(GrafikAndRepaint)->Arg(51)->Arg(1000001)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
