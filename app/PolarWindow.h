#pragma once
// The polar window: CL and CMc/4 against the angle of attack for one airfoil, as a plot (CMc/4 on
// its own axis at the right) and a table, with the angle range and step editable. With a Reynolds
// number, the drag polar beside them (CL against CD, and L/D against the angle), the table adding
// CD, the transition positions and L/D; with a Mach number, the compressible CL and the critical
// Mach number. One modeless instance, kept for the run; the main window hands it each newly
// calculated airfoil.
//
// A long sweep (many angles, many points) is calculated on a thread of its own, with a progress
// bar and a Cancel button, so this and the other windows keep answering; a short one at once.

#include "Comparison.h"
#include "solver/Airfoil.h"
#include "solver/analysis/Sweep.h"

#include <QWidget>

#include <memory>
#include <vector>

class Chart;
class FileNameAsker;
class MessagePresenter;
class NumberBox;
class PolarTableModel;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QTableView;
class QTimer;
struct PolarRun;

class PolarWindow : public QWidget {
    Q_OBJECT
public:
    PolarWindow(MessagePresenter& messages, FileNameAsker& files);
    ~PolarWindow() override;
    void setFileNameAsker(FileNameAsker& files) { files_ = &files; }

    // Shows the polar of this airfoil over the range set in the window.
    void setAirfoil(const orvek::Airfoil& airfoil);
    const orvek::Airfoil& airfoil() const { return airfoil_; }
    // The rows shown, and why there are none when the range cannot be calculated.
    const std::vector<orvek::SweepRow>& rows() const { return rows_; }
    QString problem() const;
    // Whether a sweep is being calculated on its thread; and the line that says how far it got or
    // that it was cancelled.
    bool calculating() const;
    QString progressText() const;
    // Rows at angles past the first separation of the layer (counted from the zero-lift angle
    // outwards on either side): their drag estimate means little.
    const std::vector<bool>& pastSeparation() const { return pastSeparation_; }

    // "Save as CSV…" and "Copy" (the table as tab-separated text with its header line).
    void saveCsv();
    void copy();
    // The plot's picture items, also in its context menu.
    void copyPicture();
    void savePicture();
    // "Keep for comparison" pins the curves shown (up to four sets); "Clear" removes them.
    void keepForComparison();
    void clearComparison();
    const Comparison& comparison() const { return comparison_; }
    // Stops the sweep being calculated; the rows calculated so far are shown.
    void cancel();

signals:
    // "Compare with a file…" of the chart's menu: a polar file laid over this airfoil's.
    void compareRequested(const orvek::Airfoil& airfoil, double alpha);

private:
    void recalculate();
    void stopRun();
    void pollRun();
    void finishRun();
    void showRows();
    void showProblem(const QString& reason);
    void handle(const std::function<void()>& handler);
    std::vector<const Chart*> shownCharts() const;

    MessagePresenter& messages_;
    FileNameAsker* files_;
    orvek::Airfoil airfoil_{0.1, 0, 2};
    std::vector<orvek::SweepRow> rows_;
    std::vector<bool> pastSeparation_;
    bool viscous_ = false;  // the rows shown carry the drag estimate
    bool compressible_ = false;
    int alphaDecimals_ = 2;
    std::unique_ptr<PolarRun> run_;

    NumberBox* from_ = nullptr;
    NumberBox* to_ = nullptr;
    NumberBox* step_ = nullptr;
    NumberBox* np_ = nullptr;
    NumberBox* re_ = nullptr;
    NumberBox* ncrit_ = nullptr;
    NumberBox* mach_ = nullptr;
    QLabel* problem_ = nullptr;
    QWidget* progressRow_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* progressText_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QTimer* poll_ = nullptr;
    Chart* chart_ = nullptr;
    Chart* dragChart_ = nullptr;
    Chart* ratioChart_ = nullptr;
    QTableView* table_ = nullptr;
    PolarTableModel* model_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* copyButton_ = nullptr;
    QPushButton* keepButton_ = nullptr;
    QPushButton* clearButton_ = nullptr;
    Comparison comparison_;
    QVector<QVector<Chart::Curve>> current_;  // per chart, the curves as last calculated
    QMenu* chartMenu_ = nullptr;
};
