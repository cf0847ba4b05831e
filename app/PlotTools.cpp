#include "PlotTools.h"

#include "BoundaryLayerWindow.h"
#include "CompareWindow.h"
#include "CoordinateFile.h"
#include "ExplorerWindow.h"
#include "FlowWindow.h"
#include "MessagePresenter.h"
#include "PictureFile.h"
#include "PolarWindow.h"
#include "SurfaceCurves.h"
#include "case/CaseState.h"
#include "export/AirfoilCoordinates.h"
#include "export/SaveFile.h"
#include "solver/analysis/Describe.h"
#include "solver/surface/Solver.h"
#include "plot/Chart.h"
#include "plot/PlotArea.h"
#include "WindowAction.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>

PlotTools::PlotTools(QWidget& window, PlotArea& pressure, PlotArea& profil, const orvek::CaseState& state,
                     MessagePresenter& messages)
    : QObject(&window), window_(window), state_(state), messages_(messages), pressure_(pressure), profil_(profil) {
    setObjectName("PlotTools");

    // Shortcuts of the window only: the menu bar stays as designed.
    auto action = [this](const QString& text, const QKeySequence& keys, const char* name, void (PlotTools::*slot)()) {
        return addWindowAction(window_, nullptr, text, keys, name, [this, slot] { (this->*slot)(); });
    };
    copyPicture_ = action("Copy picture", QKeySequence("Ctrl+Shift+C"), "copyPicture", &PlotTools::copyPicture);
    savePicture_ = action(QString::fromUtf8("Save picture as…"), QKeySequence("Ctrl+Shift+S"), "savePicture",
                          &PlotTools::savePicture);
    exportCoordinates_ = action(QString::fromUtf8("Export coordinates…"), QKeySequence("Ctrl+Shift+E"),
                                "exportCoordinates", &PlotTools::exportCoordinates);
    polar_ = action(QString::fromUtf8("Polar…"), QKeySequence("Ctrl+Shift+P"), "polar", &PlotTools::showPolar);
    explore_ = action(QString::fromUtf8("Explore airfoil…"), QKeySequence("Ctrl+Shift+A"), "exploreAirfoil",
                      &PlotTools::showExplorer);
    flow_ = action(QString::fromUtf8("Flow field…"), QKeySequence("Ctrl+Shift+F"), "flowField", &PlotTools::showFlow);
    boundaryLayer_ = action(QString::fromUtf8("Boundary layer…"), QKeySequence("Ctrl+Shift+B"), "boundaryLayer",
                            &PlotTools::showBoundaryLayer);
    reloadCatalogue_ = addWindowAction(window_, nullptr, "Reload catalogue", QKeySequence(Qt::Key_F5),
                                       "reloadCatalogue", [this] { emit reloadCatalogueRequested(); });
    compare_ = action(QString::fromUtf8("Compare with a file…"), QKeySequence("Ctrl+Shift+O"), "compareWithFile",
                      &PlotTools::compareWithFile);
    for (QAction* a : {copyPicture_, savePicture_, exportCoordinates_, polar_, flow_, boundaryLayer_, compare_}) {
        a->setEnabled(false);
    }

    menu_ = new QMenu(&window_);
    menu_->setObjectName("plotMenu");
    menu_->addAction(copyPicture_);
    menu_->addAction(savePicture_);
    menu_->addSeparator();
    menu_->addAction(exportCoordinates_);
    menu_->addAction(compare_);
    menu_->addSeparator();
    menu_->addAction(polar_);
    menu_->addAction(flow_);
    menu_->addAction(boundaryLayer_);
    menu_->addAction(explore_);
    menu_->addSeparator();
    menu_->addAction(reloadCatalogue_);

    // Nothing on the plots tells of the tools; the pointer resting on one does.
    const QString tip = QString::fromUtf8("Right click (or the menu key) for pictures, export, compare, polar, flow, "
                                          "boundary layer and explorer");
    pressure_.setToolTip(tip);
    profil_.setToolTip(tip);

    pressure_.installEventFilter(this);
    profil_.installEventFilter(this);
    window_.installEventFilter(this);  // its closing closes the secondary windows
}

PlotTools::~PlotTools() = default;

void PlotTools::setFileNameAsker(FileNameAsker& files) {
    files_ = &files;
    if (polarWindow_) polarWindow_->setFileNameAsker(files);
    if (explorerWindow_) explorerWindow_->setFileNameAsker(files);
    if (flowWindow_) flowWindow_->setFileNameAsker(files);
    if (boundaryLayerWindow_) boundaryLayerWindow_->setFileNameAsker(files);
}

bool PlotTools::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_) {
        if (event->type() == QEvent::Close) closeWindows();
        return false;
    }
    auto* plot = qobject_cast<PlotArea*>(watched);
    if (!plot) return false;
    if (event->type() == QEvent::ContextMenu) {
        openMenu(plot, static_cast<QContextMenuEvent*>(event)->pos());
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool shiftF10 = key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier;
        if (key->key() == Qt::Key_Menu || shiftF10) {
            openMenu(plot, plot->rect().center());
            return true;
        }
    }
    return false;
}

void PlotTools::openMenu(PlotArea* plot, const QPoint& localPos) {
    // The plot takes the focus, so the items act on it whichever way they are chosen.
    plot->setFocus(Qt::PopupFocusReason);
    menu_->popup(plot->mapToGlobal(localPos));
}

PlotArea* PlotTools::targetPlot() const { return window_.focusWidget() == &profil_ ? &profil_ : &pressure_; }

void PlotTools::caseCalculated() {
    const orvek::CaseState& s = state_;
    if (!s.NP || !s.AlfaD) return;
    const auto k = static_cast<std::size_t>(s.SelIndex);
    last_ = LastCase{s.AirfoilRow[k].airfoil, *s.AlfaD};
    for (QAction* a : {copyPicture_, savePicture_, exportCoordinates_, polar_, flow_, boundaryLayer_, compare_}) {
        a->setEnabled(true);
    }
    if (polarWindow_) polarWindow_->setAirfoil(last_->airfoil);
    if (flowWindow_) flowWindow_->setCase(last_->airfoil, last_->AlfaD);
    if (boundaryLayerWindow_) boundaryLayerWindow_->setCase(last_->airfoil, last_->AlfaD);
}

namespace {

// The report chart of a plot of the window: the case's surface with axes, legend and a caption
// naming the airfoil and the angle.
struct CaseChart {
    Chart chart;
    CaseChart(const orvek::SurfacePoints& points, bool profile, const orvek::Airfoil& airfoil, double AlfaD) {
        showSurface(chart, points, profile ? SurfacePlot::Profile : SurfacePlot::Pressure);
        chart.setCaption(QString::fromUtf8("%1, α = %2°")
                             .arg(QString::fromStdString(airfoil.name()), QLocale().toString(AlfaD, 'g', 6)));
    }
};

}  // namespace

bool PlotTools::refusedShape() {
    if (!last_) return true;
    const orvek::Status simple = orvek::checkSimpleAirfoil(last_->airfoil);
    if (!simple) messages_.show(&window_, QString::fromStdString(simple.error()), MessagePresenter::Kind::Warning);
    return !simple;
}

void PlotTools::copyPicture() {
    PlotArea* plot = targetPlot();
    if (!plot || refusedShape()) return;
    const CaseChart report(state_.points, plot == &profil_, last_->airfoil, last_->AlfaD);
    ::copyPicture(PictureRequest{chartsPaint({&report.chart}, plot->size()), plot->size(),
                                 2.0 * plot->devicePixelRatioF(), {}, {}});
}

void PlotTools::savePicture() {
    PlotArea* plot = targetPlot();
    if (!plot || refusedShape()) return;
    const bool profile = plot == &profil_;
    const CaseChart report(state_.points, profile, last_->airfoil, last_->AlfaD);
    ::savePicture(&window_, *files_, messages_,
                  PictureRequest{chartsPaint({&report.chart}, plot->size()),
                                 plot->size(),
                                 2.0 * plot->devicePixelRatioF(),
                                 profile ? "profile" : "pressure",
                                 profile ? "Profile" : "1-Cp"});
}

void PlotTools::exportCoordinates() {
    if (refusedShape()) return;
    const std::optional<CoordinateFileChoice> choice = askCoordinateFile(&window_, *files_);
    if (!choice) return;
    const orvek::Expected<orvek::CoordinateFile> file =
        orvek::coordinateFile({last_->airfoil, choice->format, *state_.NP, last_->AlfaD, std::nullopt});
    if (!file) {
        messages_.show(&window_, QString::fromStdString(file.error()), MessagePresenter::Kind::Warning);
        return;
    }
    const orvek::Status saved =
        orvek::saveFile(choice->path.toStdString(), [&](orvek::TextOutput& out) { file->write(out); });
    if (!saved) messages_.show(&window_, QString::fromStdString(saved.error()), MessagePresenter::Kind::Warning);
}

void PlotTools::showPolar() {
    if (last_) showPolarOf(last_->airfoil);
}

void PlotTools::showPolarOf(const orvek::Airfoil& airfoil) {
    if (!polarWindow_) {
        polarWindow_ = std::make_unique<PolarWindow>(messages_, *files_);
        connect(polarWindow_.get(), &PolarWindow::compareRequested, this,
                [this](const orvek::Airfoil& shown, double alpha) {
                    compareFileWith(polarWindow_.get(), shown, alpha, 161);
                });
    }
    polarWindow_->setAirfoil(airfoil);
    polarWindow_->show();
    polarWindow_->raise();
    polarWindow_->activateWindow();
}

void PlotTools::showExplorer() {
    if (!explorerWindow_) {
        explorerWindow_ = std::make_unique<ExplorerWindow>(messages_, *files_);
        connect(explorerWindow_.get(), &ExplorerWindow::polarRequested, this, &PlotTools::showPolarOf);
        connect(explorerWindow_.get(), &ExplorerWindow::catalogueExtended, this, &PlotTools::reloadCatalogueRequested);
        connect(explorerWindow_.get(), &ExplorerWindow::compareRequested, this,
                [this](const orvek::Airfoil& airfoil, double alpha) {
                    compareFileWith(explorerWindow_.get(), airfoil, alpha, 161);
                });
    }
    // The explorer follows the main window until the user changes it.
    if (last_ && !explorerWindow_->editedByUser()) explorerWindow_->setAirfoil(last_->airfoil, last_->AlfaD);
    explorerWindow_->show();
    explorerWindow_->raise();
    explorerWindow_->activateWindow();
}

void PlotTools::showFlow() {
    if (!last_) return;
    if (!flowWindow_) {
        flowWindow_ = std::make_unique<FlowWindow>(messages_, *files_);
        flowWindow_->setCase(last_->airfoil, last_->AlfaD);
    }
    flowWindow_->show();
    flowWindow_->raise();
    flowWindow_->activateWindow();
}

void PlotTools::showBoundaryLayer() {
    if (!last_) return;
    if (!boundaryLayerWindow_) {
        boundaryLayerWindow_ = std::make_unique<BoundaryLayerWindow>(messages_, *files_);
        boundaryLayerWindow_->setCase(last_->airfoil, last_->AlfaD);
    }
    boundaryLayerWindow_->show();
    boundaryLayerWindow_->raise();
    boundaryLayerWindow_->activateWindow();
}

void PlotTools::compareWithFile() {
    if (refusedShape()) return;
    compareFileWith(&window_, last_->airfoil, last_->AlfaD, state_.NP ? static_cast<int>(*state_.NP) : 161);
}

void PlotTools::compareFileWith(QWidget* parent, const orvek::Airfoil& airfoil, double alpha, int points) {
    if (!compareWindow_) compareWindow_ = std::make_unique<CompareWindow>(messages_);
    compareWindow_->askAndCompare(parent, *files_, airfoil, alpha, points);
}

void PlotTools::closeWindows() {
    if (compareWindow_) compareWindow_->close();
    if (polarWindow_) polarWindow_->close();
    if (explorerWindow_) explorerWindow_->close();
    if (flowWindow_) flowWindow_->close();
    if (boundaryLayerWindow_) boundaryLayerWindow_->close();
}
