#pragma once
// The airfoil explorer: sliders and spin boxes for the airfoil (either its mapping parameters F,
// G and m, or its thickness, camber and trailing-edge angle) and the angle of attack; the profile
// and the 1-Cp distribution redrawn at every move, with the coefficients and the measured
// geometry as text. An input that cannot be calculated shows its reason in place of the plots.
// One modeless instance, kept for the run.

#include "solver/Airfoil.h"
#include "solver/Describe.h"
#include "solver/SurfacePoints.h"

#include <QWidget>

#include <array>
#include <optional>

class Chart;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QStackedWidget;

class ExplorerWindow : public QWidget {
    Q_OBJECT
public:
    enum Parameter { F, G, m, Thickness, Camber, TeAngle, Alpha, ParameterCount };

    ExplorerWindow();

    // Starts from this airfoil and angle (switches to the mapping parameters).
    void setAirfoil(const orvek::Airfoil& airfoil, double alpha);
    // Chooses between the mapping parameters (false) and the design targets (true).
    void setTargetMode(bool targets);
    void setPointCount(int NP);

    // Recalculates and redraws from the controls: what every slider move runs.
    void recalculate();

    QSlider* slider(Parameter p) const { return rows_[p].slider; }
    QDoubleSpinBox* spinBox(Parameter p) const { return rows_[p].box; }
    Chart* profileChart() const { return profile_; }
    Chart* pressureChart() const { return pressure_; }
    // The reason the controls' airfoil cannot be calculated; empty while the plots are shown.
    QString problem() const;
    bool plotsShown() const;
    const orvek::AirfoilGeometry& geometry() const { return geometry_; }
    const orvek::Airfoil& airfoil() const { return airfoil_; }

    // "Copy catalogue line": the airfoil's line for ORVEK_Input.txt, as it would be measured.
    void copyCatalogueLine();

private:
    struct Row {
        QSlider* slider = nullptr;
        QDoubleSpinBox* box = nullptr;
        QLabel* caption = nullptr;
        double lo = 0, hi = 1;  // the slider's range; the spin box may go beyond it
    };
    void makeRow(Parameter p, const QString& caption, double lo, double hi, double boxLo, double boxHi, int decimals,
                 const char* name);
    void setQuietly(Parameter p, double value);
    void showProblem(const QString& reason);

    std::array<Row, ParameterCount> rows_;
    QRadioButton* byParameters_ = nullptr;
    QRadioButton* byTargets_ = nullptr;
    QSpinBox* np_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QLabel* problem_ = nullptr;
    Chart* profile_ = nullptr;
    Chart* pressure_ = nullptr;
    std::array<QLabel*, 6> values_{};  // CL, CMc/4, alpha0, thickness, camber, trailing-edge angle
    QPushButton* copyLine_ = nullptr;

    orvek::Airfoil airfoil_{0.1, 0.05, 2.0};
    orvek::AirfoilGeometry geometry_;
    orvek::SurfacePoints points_;
    // The airfoil whose geometry is in geometry_, so moving only the angle does not measure again.
    std::optional<orvek::Airfoil> measured_;
    bool busy_ = false;
};
