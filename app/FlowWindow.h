#pragma once
// The flow-field window: the potential flow about the airfoil of the last calculation at an angle
// of its own (a box and a slider), drawn as Cp colours with a colour bar, streamlines with the
// dividing one marked, the airfoil filled, the stagnation points and velocity arrows, each a
// layer that can be switched off; the same flow about the generating circle on request. The
// status line reads the flow under the pointer. Pictures (copy, PNG, SVG) and the view's grid
// (VTK or CSV, as orvek-batch field writes them) leave through its menu. One modeless instance.
//
// The circulation follows the Kutta condition, or is set by hand (a slider from -2 to 2 times the
// Kutta value) to show what the condition does: the rear stagnation point leaves the trailing edge.
// A line under the controls gives Gamma and the lift coefficient CL = 2 Gamma/(V c) of the window's
// own angle; the status line gives them too while the pointer is off the drawing.
//
// With a Reynolds number of its own (empty: none) the window draws the viscous estimate over the
// airfoil under the Kutta condition: the displacement surface (the airfoil thickened by the
// displacement thickness) and the transition and separation points, and adds CD and L/D to the
// line, the estimate's warnings to the status line.

#include "solver/Airfoil.h"
#include "solver/boundarylayer/BoundaryLayer.h"

#include <QWidget>

#include <functional>
#include <optional>

class FileNameAsker;
class FlowCanvas;
class MessagePresenter;
struct PictureRequest;
class NumberBox;
class QCheckBox;
class QLabel;
class QMenu;
class QSlider;
class QStackedWidget;

class FlowWindow : public QWidget {
    Q_OBJECT
public:
    FlowWindow(MessagePresenter& messages, FileNameAsker& files);
    void setFileNameAsker(FileNameAsker& files) { files_ = &files; }

    // The flow about `airfoil` at `alphaDegrees`; the angle box and slider follow.
    void setCase(const orvek::Airfoil& airfoil, double alphaDegrees);
    const orvek::Airfoil& airfoil() const { return airfoil_; }
    double alpha() const;
    // Gamma set by hand (free-stream speed times chord), or none under the Kutta condition.
    std::optional<double> circulation() const;
    // "Γ = … CL = …" of the flow drawn; empty when there is none.
    QString liftText() const;
    // The viscous estimate drawn, or nothing (no Reynolds number, a circulation by hand, or no answer).
    const std::optional<orvek::ViscousResult>& viscous() const { return viscous_; }
    // The Reynolds number of the estimate; none: no estimate.
    void setReynolds(std::optional<double> Re);

    FlowCanvas* canvas() const { return canvas_; }
    QString status() const;
    // Why the flow cannot be drawn; empty while it is.
    QString problem() const;
    QMenu* menu() const { return menu_; }

    void copyPicture();
    void savePicture();
    void exportGrid();

private:
    // The view as drawn, with a caption naming the airfoil and the angle.
    PictureRequest pictureRequest() const;
    void recalculate();
    void layersChanged();
    void showStatus(QPointF at);
    void showLift();
    // The viscous estimate of the flow drawn, for the canvas's overlay; why there is none.
    void estimate();
    void handle(const std::function<void()>& handler);
    QCheckBox* layerBox(const QString& text, const char* name, bool on, const QString& tip);

    MessagePresenter& messages_;
    FileNameAsker* files_;
    orvek::Airfoil airfoil_{0.1, 0.05, 1.9};

    NumberBox* alpha_ = nullptr;
    QSlider* slider_ = nullptr;
    QCheckBox* colours_ = nullptr;
    QCheckBox* streamlines_ = nullptr;
    QCheckBox* body_ = nullptr;
    QCheckBox* stagnation_ = nullptr;
    QCheckBox* arrows_ = nullptr;
    QCheckBox* circle_ = nullptr;
    QCheckBox* fitScale_ = nullptr;
    QCheckBox* kutta_ = nullptr;
    QSlider* circulation_ = nullptr;
    QLabel* lift_ = nullptr;
    NumberBox* re_ = nullptr;
    std::optional<orvek::ViscousResult> viscous_;
    QString viscousNote_;  // the estimate's warnings, or why there is none
    QLabel* name_ = nullptr;
    QLabel* problem_ = nullptr;
    QLabel* status_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    FlowCanvas* canvas_ = nullptr;
    QMenu* menu_ = nullptr;
};
