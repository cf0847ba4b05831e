// grafik plus one repaint of both plot areas, and the whole calculation behind the window's
// "Calculate" button (driver, solver, grafik, one repaint), at 51 and 1,000,001 points.

#include "CasePlots.h"
#include "plot/PlotArea.h"
#include "case/Catalogue.h"
#include "case/Driver.h"
#include "solver/surface/Solver.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

// The two plot areas at their designed sizes, drawn by grafik and painted once each, as on screen.
struct DesignedPlots {
    PlotArea profil{QColor(255, 255, 192)}, pressure{QColor(255, 255, 192)};
    QImage profileImage, pressureImage;
    DesignedPlots() {
        profil.resize(320, 147);
        pressure.resize(320, 201);
        profileImage = QImage(profil.size(), QImage::Format_ARGB32_Premultiplied);
        pressureImage = QImage(pressure.size(), QImage::Format_ARGB32_Premultiplied);
    }
    void drawAndRepaint(double N1, const std::vector<double>& x, const std::vector<double>& y,
                        const std::vector<double>& Cu) {
        drawCase(profil, pressure, static_cast<std::size_t>(N1), x, y, Cu);
        profil.render(&profileImage);
        pressure.render(&pressureImage);
        benchmark::DoNotOptimize(profileImage.bits());
    }
};

void GrafikAndRepaint(benchmark::State& state) {
    orvek::SolverInput in;
    in.airfoil.F = 0.12;
    in.airfoil.G = 0.1;
    in.airfoil.m = 1.95;
    in.AlfaD = 3;
    in.N1 = static_cast<double>(state.range(0));
    const orvek::Expected<orvek::SolverResult> o = orvek::ORVEK(in);
    const auto& p = o->points;
    DesignedPlots plots;
    for (auto _ : state) plots.drawAndRepaint(in.N1, p.x, p.y, p.Cu);
}

// As a repeated press of "Calculate": the driver's spare arrays are warm after the first one.
void WindowCalculation(benchmark::State& state) {
    orvek::CaseState s;
    orvek::storeCatalogue(s, *orvek::readCatalogue("Title\r\n0.1687,0,0.2563,0,0.12,0.1,1.95\r\n"));
    s.SelIndex = 1;
    const std::string points = std::to_string(state.range(0));
    DesignedPlots plots;
    for (auto _ : state) {
        if (!orvek::Calculate(s, points, "3")) state.SkipWithError("case failed");
        plots.drawAndRepaint(*s.NP, s.x(), s.y(), s.OneMinusCp());
    }
}

}  // namespace

BENCHMARK(GrafikAndRepaint)->Arg(51)->Arg(1000001)->Unit(benchmark::kMillisecond);
BENCHMARK(WindowCalculation)->Arg(51)->Arg(1000001)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
