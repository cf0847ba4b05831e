#pragma once
// The boundary-layer window: the viscous estimate of the main window's case (airfoil and angle,
// handed over after each calculation) at a Reynolds number, Ncrit, trips and Mach number of its
// own. Five charts along x/c, both sides (upper and lower by colour): the edge speed, θ and δ*,
// the shape factor H, the skin friction Cf and the amplification exponent N against Ncrit; the
// laminar, turbulent and separated stretches drawn solid, dashed and dotted; transition and
// separation marked on every chart. Beside them the numbers (CD, CDf, CDp, transition and
// separation per side, L/D, with a Mach number the corrected CL and the critical Mach number) and
// the core's sentences where the estimate stops meaning anything. Pictures, the numbers as text
// and the stations as `orvek-batch boundary-layer` writes them. One modeless instance.

#include "solver/Airfoil.h"
#include "solver/boundarylayer/BoundaryLayer.h"

#include <QStringList>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class Chart;
class FileNameAsker;
class MessagePresenter;
class NumberBox;
class QLabel;
class QMenu;
class QPushButton;

class BoundaryLayerWindow : public QWidget {
    Q_OBJECT
public:
    enum ChartKind { EdgeSpeed, Thickness, ShapeFactor, Friction, Amplification };
    static constexpr int ChartCount = 5;

    BoundaryLayerWindow(MessagePresenter& messages, FileNameAsker& files);
    void setFileNameAsker(FileNameAsker& files) { files_ = &files; }

    // Estimates the boundary layer of this case with the window's own numbers.
    void setCase(const orvek::Airfoil& airfoil, double alphaDegrees);

    // The input last estimated (or refused), and its result while one is shown.
    const orvek::ViscousInput& input() const { return input_; }
    const std::optional<orvek::ViscousResult>& result() const { return result_; }
    // Why nothing is shown (a range or the core's sentence), empty while a result is shown.
    QString problem() const;
    Chart* chart(ChartKind kind) const { return charts_[kind]; }
    // The numbers shown, one "name<TAB>value" line each, then the sentences of the flags.
    QString numbersText() const;

    void copyNumbers();
    void copyPicture();
    void savePicture();
    // "Export stations…": the stations as `orvek-batch boundary-layer --format csv` writes them.
    void exportStations();

private:
    void recalculate();
    void showResult();
    void showProblem(const QString& reason);
    void handle(const std::function<void()>& handler);
    // The numbers as (name, value) rows and the flags' sentences.
    std::vector<std::pair<QString, QString>> numberRows() const;
    QSize pictureSize() const;

    MessagePresenter& messages_;
    FileNameAsker* files_;
    orvek::Airfoil airfoil_{0.1, 0, 2};
    double alphaDegrees_ = 0;
    orvek::ViscousInput input_;
    std::optional<orvek::ViscousResult> result_;

    NumberBox* re_ = nullptr;
    NumberBox* ncrit_ = nullptr;
    NumberBox* tripUpper_ = nullptr;
    NumberBox* tripLower_ = nullptr;
    NumberBox* mach_ = nullptr;
    QLabel* caseName_ = nullptr;
    QLabel* problem_ = nullptr;
    QLabel* numberNames_ = nullptr;
    QLabel* numbers_ = nullptr;
    QLabel* flags_ = nullptr;
    std::array<Chart*, ChartCount> charts_{};
    QMenu* chartMenu_ = nullptr;
    std::vector<QPushButton*> resultButtons_;
};
