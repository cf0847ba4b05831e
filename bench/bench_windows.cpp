// The explorer's update (a slider move to finished pictures of both plots) at 2,001 points, with
// and without its streamlines, with the viscous estimate at a Reynolds number, the polar window's
// update for 51 angles at 201 points, a full redraw of the flow-field window's 600 x 400 view and
// its preview, at the view the window opens with and zoomed out as far as it allows (offscreen),
// and the boundary-layer window's update for a new case (the estimate and its five charts painted).

#include "plot/Chart.h"
#include "BoundaryLayerWindow.h"
#include "ExplorerWindow.h"
#include "MessagePresenter.h"
#include "FileNameAsker.h"
#include "PolarWindow.h"
#include "flow/FlowCanvas.h"
#include "solver/flow/FlowField.h"

#include <QApplication>
#include <QDoubleSpinBox>
#include <QImage>
#include <QPainter>
#include <QCheckBox>
#include <QSlider>
#include <QWheelEvent>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

class NoMessages : public MessagePresenter {
public:
    void show(QWidget*, const QString&, Kind) override {}
};

void renderChart(const Chart& chart, QImage& image) {
    QPainter painter(&image);
    chart.paint(painter, image.size());
}

// Argument: 0 moves the F slider (mapping parameters), 1 the thickness slider (design targets:
// m from the angle, F and G found anew at every move).
void ExplorerSliderMove(benchmark::State& state) {
    NoMessages messages;
    DialogFileNameAsker files;
    ExplorerWindow explorer(messages, files);
    explorer.resize(820, 640);
    explorer.setAirfoil(orvek::Airfoil{0.1, 0.05, 1.95}, 4);
    explorer.setPointCount(2001);
    const bool targets = state.range(0) == 1;
    explorer.setTargetMode(targets);
    QSlider* slider = explorer.slider(targets ? ExplorerWindow::Thickness : ExplorerWindow::F);
    QImage pressure(explorer.pressureChart()->size().expandedTo(QSize(400, 250)), QImage::Format_ARGB32_Premultiplied);
    QImage profile(explorer.profileChart()->size().expandedTo(QSize(400, 250)), QImage::Format_ARGB32_Premultiplied);
    int position = slider->maximum() / 3;
    for (auto _ : state) {
        position = position == slider->maximum() / 3 ? slider->maximum() / 2 : slider->maximum() / 3;
        slider->setValue(position);  // recalculates, as a drag does
        renderChart(*explorer.pressureChart(), pressure);
        renderChart(*explorer.profileChart(), profile);
        benchmark::DoNotOptimize(profile.bits());
    }
    if (!explorer.plotsShown()) state.SkipWithError(explorer.problem().toStdString().c_str());
}

// The same move of the angle slider with "Flow" on: 21 streamlines and the stagnation points
// recalculated about the profile at every move.
void ExplorerSliderMoveWithFlow(benchmark::State& state) {
    NoMessages messages;
    DialogFileNameAsker files;
    ExplorerWindow explorer(messages, files);
    explorer.resize(820, 640);
    explorer.setAirfoil(orvek::Airfoil{0.1, 0.05, 1.95}, 4);
    explorer.setPointCount(2001);
    explorer.findChild<QCheckBox*>("explorerFlow")->setChecked(true);
    QSlider* slider = explorer.slider(ExplorerWindow::Alpha);
    QImage pressure(explorer.pressureChart()->size().expandedTo(QSize(400, 250)), QImage::Format_ARGB32_Premultiplied);
    QImage profile(explorer.profileChart()->size().expandedTo(QSize(400, 250)), QImage::Format_ARGB32_Premultiplied);
    int position = slider->maximum() / 3;
    for (auto _ : state) {
        position = position == slider->maximum() / 3 ? slider->maximum() / 2 : slider->maximum() / 3;
        slider->setValue(position);
        renderChart(*explorer.pressureChart(), pressure);
        renderChart(*explorer.profileChart(), profile);
        benchmark::DoNotOptimize(profile.bits());
    }
    if (explorer.profileChart()->curves().size() < 20) state.SkipWithError("no streamlines drawn");
}

// The move of the angle slider with a Reynolds number set: the boundary layer of both sides, CD,
// transition and its marks recalculated at every move, then both plots drawn.
void ExplorerSliderMoveWithRe(benchmark::State& state) {
    NoMessages messages;
    DialogFileNameAsker files;
    ExplorerWindow explorer(messages, files);
    explorer.resize(820, 640);
    explorer.setAirfoil(orvek::Airfoil{0.1, 0.05, 1.95}, 4);
    explorer.setPointCount(2001);
    explorer.setReynolds(1e6);
    QSlider* slider = explorer.slider(ExplorerWindow::Alpha);
    QImage pressure(explorer.pressureChart()->size().expandedTo(QSize(400, 250)), QImage::Format_ARGB32_Premultiplied);
    QImage profile(explorer.profileChart()->size().expandedTo(QSize(400, 250)), QImage::Format_ARGB32_Premultiplied);
    int position = slider->maximum() / 3;
    for (auto _ : state) {
        position = position == slider->maximum() / 3 ? slider->maximum() / 2 : slider->maximum() / 3;
        slider->setValue(position);
        renderChart(*explorer.pressureChart(), pressure);
        renderChart(*explorer.profileChart(), profile);
        benchmark::DoNotOptimize(profile.bits());
    }
    if (!explorer.viscous()) state.SkipWithError("no viscous estimate");
}

// Zooms the flow view out as far as the window allows, as 200 notches of the wheel do.
void zoomOutFully(FlowCanvas& canvas) {
    const QPointF middle(0.5 * canvas.width(), 0.5 * canvas.height());
    QWheelEvent event(middle, middle, QPoint(), QPoint(0, -120 * 200), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(&canvas, &event);
}

// The flow-field window's view at 600 x 400 pixels, its angle moved between 4 and 5 degrees each
// round and drawn into an image by `draw(canvas, image)`. Argument: 0 the whole airfoil (the view
// the window opens with), 1 zoomed out as far as the window allows.
template <class Draw>
void flowViewRounds(benchmark::State& state, FlowCanvas& canvas, Draw draw) {
    canvas.resize(600, 400);
    const orvek::Airfoil airfoil{0.1, 0.05, 1.9};
    canvas.setField(*orvek::FlowField::make(airfoil, 4));
    if (state.range(0) == 1) zoomOutFully(canvas);
    QImage image(QSize(600, 400), QImage::Format_ARGB32_Premultiplied);
    double alpha = 4;
    for (auto _ : state) {
        alpha = alpha == 4 ? 5 : 4;
        canvas.setField(*orvek::FlowField::make(airfoil, alpha));
        draw(canvas, image);
        benchmark::DoNotOptimize(image.bits());
    }
    state.counters["chords/px"] = canvas.view().scale;
}

// A full redraw, as after a move of the angle slider or a pan: the Cp colours at every pixel, 21
// streamlines, the airfoil and its stagnation points, computed and painted.
void FlowViewRedraw(benchmark::State& state) {
    FlowCanvas canvas;
    flowViewRounds(state, canvas, [](FlowCanvas& c, QImage& image) {
        QPainter painter(&image);
        c.picture().paint(painter);
    });
    if (canvas.picture().lines().size() < 21 || canvas.picture().scene().density != 1.0) {
        state.SkipWithError("not the full view");
    }
}

// What the window's thread does for the same change at the same zooms: the preview computed and
// painted as the screen paints it (the picture itself is computed meanwhile on another thread).
void FlowViewPreview(benchmark::State& state) {
    FlowCanvas canvas;
    flowViewRounds(state, canvas, [](FlowCanvas& c, QImage& image) { c.render(&image); });
    if (canvas.showsPicture()) state.SkipWithError("the picture, not the preview, was drawn");
}

// The calculation alone, without pictures: what of a slider move is the solver and measurement.
void ExplorerRecalculate(benchmark::State& state) {
    NoMessages messages;
    DialogFileNameAsker files;
    ExplorerWindow explorer(messages, files);
    explorer.setAirfoil(orvek::Airfoil{0.1, 0.05, 1.95}, 4);
    explorer.setPointCount(2001);
    QSlider* slider = explorer.slider(ExplorerWindow::F);
    int position = slider->maximum() / 3;
    for (auto _ : state) {
        position = position == slider->maximum() / 3 ? slider->maximum() / 2 : slider->maximum() / 3;
        slider->setValue(position);
    }
}

// The polar window's whole update for a new airfoil: 51 angles at 201 points with the pressure
// minimum, the table and one picture of the plot.
void PolarWindowUpdate(benchmark::State& state) {
    NoMessages messages;
    DialogFileNameAsker files;
    PolarWindow polar(messages, files);
    polar.resize(760, 560);
    QImage image(QSize(700, 300), QImage::Format_ARGB32_Premultiplied);
    const Chart* chart = polar.findChild<Chart*>("polarChart");
    double G = 0.05;
    for (auto _ : state) {
        G = G == 0.05 ? 0.06 : 0.05;
        polar.setAirfoil(orvek::Airfoil{0.1, G, 1.9});
        renderChart(*chart, image);
        benchmark::DoNotOptimize(image.bits());
    }
    if (polar.rows().size() != 51) state.SkipWithError("expected 51 angles");
}

// The boundary-layer window's whole update for a new angle of the main window: the estimate of
// both sides (the default 161 stations each, Re 1e6) and the five charts painted at the size the
// window gives them.
void BoundaryLayerWindowRedraw(benchmark::State& state) {
    NoMessages messages;
    DialogFileNameAsker files;
    BoundaryLayerWindow window(messages, files);
    window.resize(1180, 760);
    window.setCase(orvek::Airfoil{0.1, 0.05, 1.9}, 4);
    window.show();  // the charts take their laid-out size
    std::vector<QImage> images;
    for (int k = 0; k < BoundaryLayerWindow::ChartCount; ++k) {
        const Chart* chart = window.chart(static_cast<BoundaryLayerWindow::ChartKind>(k));
        images.emplace_back(chart->size(), QImage::Format_ARGB32_Premultiplied);
    }
    double alpha = 4;
    for (auto _ : state) {
        alpha = alpha == 4 ? 5 : 4;
        window.setCase(orvek::Airfoil{0.1, 0.05, 1.9}, alpha);
        for (int k = 0; k < BoundaryLayerWindow::ChartCount; ++k) {
            renderChart(*window.chart(static_cast<BoundaryLayerWindow::ChartKind>(k)), images[static_cast<std::size_t>(k)]);
        }
        benchmark::DoNotOptimize(images.back().bits());
    }
    if (!window.result()) state.SkipWithError(window.problem().toStdString().c_str());
}

}  // namespace

BENCHMARK(ExplorerSliderMove)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(ExplorerSliderMoveWithFlow)->Unit(benchmark::kMillisecond);
BENCHMARK(ExplorerSliderMoveWithRe)->Unit(benchmark::kMillisecond);
BENCHMARK(FlowViewRedraw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(FlowViewPreview)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ExplorerRecalculate)->Unit(benchmark::kMillisecond);
BENCHMARK(PolarWindowUpdate)->Unit(benchmark::kMillisecond);
BENCHMARK(BoundaryLayerWindowRedraw)->Unit(benchmark::kMillisecond);
