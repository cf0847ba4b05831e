#pragma once
// What the main window offers beyond its designed controls, without moving any of them: a
// context menu on each plot (right button, the Menu key, Shift+F10) and the same items as
// keyboard shortcuts of the window: copy or save a picture of a plot, export the airfoil's
// coordinates, open the polar, explorer, flow-field and boundary-layer windows; and F5, which asks the window to read the
// catalogue again. The secondary windows close with the main window.

#include "FileNameAsker.h"
#include "solver/Airfoil.h"

#include <QObject>

#include <memory>
#include <optional>

namespace orvek {
struct CaseState;
}
class BoundaryLayerWindow;
class CompareWindow;
class ExplorerWindow;
class FlowWindow;
class MessagePresenter;
class PlotArea;
class PolarWindow;
class QAction;
class QMenu;
class QWidget;

class PlotTools : public QObject {
    Q_OBJECT
public:
    // Installs the menus on the two plots and the shortcuts on the window, which owns the tools;
    // `state` is the window's case state, read after each calculation.
    PlotTools(QWidget& window, PlotArea& pressure, PlotArea& profil, const orvek::CaseState& state,
              MessagePresenter& messages);
    ~PlotTools() override;

    // Replaces the file dialog (tests answer with a path); the asker must outlive its use.
    void setFileNameAsker(FileNameAsker& files);

    QAction* copyPictureAction() const { return copyPicture_; }
    QAction* savePictureAction() const { return savePicture_; }
    QAction* exportCoordinatesAction() const { return exportCoordinates_; }
    QAction* polarAction() const { return polar_; }
    QAction* exploreAction() const { return explore_; }
    QAction* flowAction() const { return flow_; }
    QAction* boundaryLayerAction() const { return boundaryLayer_; }
    QAction* reloadCatalogueAction() const { return reloadCatalogue_; }
    QAction* compareAction() const { return compare_; }
    CompareWindow* compareWindow() const { return compareWindow_.get(); }
    QMenu* menu() const { return menu_; }
    PolarWindow* polarWindow() const { return polarWindow_.get(); }
    ExplorerWindow* explorerWindow() const { return explorerWindow_.get(); }
    FlowWindow* flowWindow() const { return flowWindow_.get(); }
    BoundaryLayerWindow* boundaryLayerWindow() const { return boundaryLayerWindow_.get(); }

    // The main window calls this after every successful calculation.
    void caseCalculated();

    // The plot the menu's items act on: the one whose menu was opened, or the one with the focus,
    // or else the 1-Cp plot.
    PlotArea* targetPlot() const;

signals:
    // F5, or the explorer added an airfoil to the catalogue: the window reads the file again.
    void reloadCatalogueRequested();

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void openMenu(PlotArea* plot, const QPoint& localPos);
    void copyPicture();
    void savePicture();
    void exportCoordinates();
    void showPolar();
    void showPolarOf(const orvek::Airfoil& airfoil);
    void showExplorer();
    void showFlow();
    void showBoundaryLayer();
    void compareWithFile();
    void compareFileWith(QWidget* parent, const orvek::Airfoil& airfoil, double alpha, int points);
    void closeWindows();
    // Pictures and coordinate files are made of simple airfoils only: otherwise (or before any
    // calculation) true, with the reason shown.
    bool refusedShape();

    struct LastCase {
        orvek::Airfoil airfoil;
        double AlfaD;
    };

    QWidget& window_;
    const orvek::CaseState& state_;
    MessagePresenter& messages_;
    DialogFileNameAsker dialog_;
    FileNameAsker* files_ = &dialog_;
    PlotArea& pressure_;
    PlotArea& profil_;
    std::optional<LastCase> last_;

    QAction* copyPicture_ = nullptr;
    QAction* savePicture_ = nullptr;
    QAction* exportCoordinates_ = nullptr;
    QAction* polar_ = nullptr;
    QAction* explore_ = nullptr;
    QAction* flow_ = nullptr;
    QAction* boundaryLayer_ = nullptr;
    QAction* reloadCatalogue_ = nullptr;
    QAction* compare_ = nullptr;
    QMenu* menu_ = nullptr;
    std::unique_ptr<PolarWindow> polarWindow_;
    std::unique_ptr<ExplorerWindow> explorerWindow_;
    std::unique_ptr<FlowWindow> flowWindow_;
    std::unique_ptr<BoundaryLayerWindow> boundaryLayerWindow_;
    std::unique_ptr<CompareWindow> compareWindow_;
};
