#pragma once
// The airfoil explorer: sliders and number boxes for the airfoil (either its mapping parameters F,
// G and m, or its thickness, camber and trailing-edge angle) and the angle of attack; the profile
// and the 1-Cp distribution redrawn at every move, with the coefficients and the measured
// geometry as text. An input that cannot be calculated shows its reason in place of the plots.
// With a Reynolds number of its own (empty: inviscid) it adds the viscous estimate: CD, the
// transition on each side and L/D, the estimate's warnings in words, and transition and separation
// marked on the profile.
// The plots have the main window's plot items (pictures, coordinates, polar) and "Add to
// catalogue". One modeless instance, kept for the run.

#include "Comparison.h"
#include "solver/Airfoil.h"
#include "solver/Expected.h"
#include "solver/analysis/Describe.h"
#include "solver/boundarylayer/BoundaryLayer.h"
#include "solver/surface/SurfacePoints.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class Chart;
class FileNameAsker;
class MessagePresenter;
class NumberBox;
class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QSlider;
class QStackedWidget;

class ExplorerWindow : public QWidget {
    Q_OBJECT
public:
    enum Parameter { F, G, m, Thickness, Camber, TeAngle, Alpha, ParameterCount };

    ExplorerWindow(MessagePresenter& messages, FileNameAsker& files);
    void setFileNameAsker(FileNameAsker& files) { files_ = &files; }

    // Starts from this airfoil and angle (switches to the mapping parameters); the window counts
    // as unchanged by the user until a control is moved.
    void setAirfoil(const orvek::Airfoil& airfoil, double alpha);
    // Chooses between the mapping parameters (false) and the design targets (true); the airfoil
    // stays exactly as it is until a target is changed.
    void setTargetMode(bool targets);
    void setPointCount(int NP);
    // The Reynolds number of the viscous estimate; none: inviscid.
    void setReynolds(std::optional<double> Re);
    // The viscous estimate shown, or nothing (inviscid, or the estimate has no answer).
    const std::optional<orvek::ViscousResult>& viscous() const { return viscous_; }
    // Whether the user changed the airfoil or the angle since setAirfoil.
    bool editedByUser() const { return edited_; }

    // Recalculates and redraws from the current airfoil and angle.
    void recalculate();

    QSlider* slider(Parameter p) const { return rows_[p].slider; }
    QDoubleSpinBox* spinBox(Parameter p) const;
    Chart* profileChart() const { return profile_; }
    Chart* pressureChart() const { return pressure_; }
    QMenu* plotMenu() const { return menu_; }
    // The reason the controls' airfoil cannot be calculated; empty while the plots are shown.
    QString problem() const;
    bool plotsShown() const;
    const orvek::AirfoilGeometry& geometry() const { return geometry_; }
    const orvek::Airfoil& airfoil() const { return airfoil_; }

    // "Copy catalogue line": the airfoil's line for ORVEK_Input.txt, as it would be measured.
    void copyCatalogueLine();
    // The plots' menu items.
    void copyPicture();
    void savePicture();
    void exportCoordinates();
    void addToCatalogue();
    // "Flow": streamlines and stagnation points around the profile, recalculated at every move.
    void setFlowShown(bool shown);
    // "Keep for comparison" pins the current 1-Cp and profile curves (up to four); "Clear" removes them.
    void keepForComparison();
    void clearComparison();
    const Comparison& comparison() const { return comparison_; }

signals:
    // "Polar…" of the plots' menu: the polar window shows this airfoil.
    void polarRequested(const orvek::Airfoil& airfoil);
    // "Compare with a file…" of the plots' menu: a file laid over this airfoil at this angle.
    void compareRequested(const orvek::Airfoil& airfoil, double alpha);
    // A line was added to the working folder's catalogue.
    void catalogueExtended();

private:
    struct Row {
        QSlider* slider = nullptr;
        NumberBox* box = nullptr;
        QLabel* caption = nullptr;
        double lo = 0, hi = 1;  // the slider's range; the box may go beyond it
    };
    void makeRow(Parameter p, const QString& caption, const QString& what, double lo, double hi, double boxLo,
                 double boxHi, int decimals, const QString& unit, const char* name);
    void buildMenu();
    // A control of row `p` was changed by the user.
    void changedByUser(Parameter p);
    void setQuietly(Parameter p, double value);
    // The steps of recalculate: the typed values judged; the case solved into points_; the
    // geometry measured (for a new airfoil); the curves drawn; the coefficients, the geometry and
    // the captions written. A step that fails gives the reason shown in place of the plots.
    std::optional<QString> inputProblem() const;
    orvek::Expected<orvek::Coefficients> solve();
    std::optional<QString> measure();
    void showCurves();
    void showTexts(const orvek::Coefficients& coefficients);
    // The viscous estimate at the box's Reynolds number: its numbers, warnings and marks.
    void estimate(const orvek::Coefficients& coefficients);
    // The streamlines about the profile for the range the profile chart shows, behind the curves.
    QVector<Chart::Curve> profileCurves() const;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showProblem(const QString& reason);
    void showMeasurement();
    void handle(const std::function<void()>& handler);

    MessagePresenter& messages_;
    FileNameAsker* files_;
    std::array<Row, ParameterCount> rows_;
    QRadioButton* byParameters_ = nullptr;
    QRadioButton* byTargets_ = nullptr;
    NumberBox* np_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QLabel* problem_ = nullptr;
    Chart* profile_ = nullptr;
    Chart* pressure_ = nullptr;
    std::array<QLabel*, 9> values_{};  // CL, CMc/4, alpha0, thickness, camber, trailing-edge angle, CD,
                                       // transition (upper, lower), L/D
    NumberBox* re_ = nullptr;
    QLabel* viscousNote_ = nullptr;  // the estimate's warnings, or why there is none
    QPushButton* copyLine_ = nullptr;
    QCheckBox* flow_ = nullptr;
    QPushButton* keep_ = nullptr;
    QPushButton* clear_ = nullptr;
    Comparison comparison_;
    QVector<Chart::Curve> currentProfile_, currentPressure_;  // as last calculated, without the pinned
    QMenu* menu_ = nullptr;
    QList<QAction*> plotActions_;

    // The airfoil and angle shown, exactly: the boxes show them rounded.
    orvek::Airfoil airfoil_{0.1, 0.05, 2};
    double alpha_ = 5;
    bool edited_ = false;
    orvek::AirfoilGeometry geometry_;
    std::optional<orvek::Airfoil> measured_;  // the airfoil whose geometry is in geometry_
    std::optional<QString> designProblem_;    // why the targets typed cannot be designed
    orvek::SurfacePoints points_;
    std::optional<orvek::ViscousResult> viscous_;
    bool busy_ = false;
};
