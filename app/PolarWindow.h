#pragma once
// The polar window: CL and CMc/4 against the angle of attack for one airfoil, as a plot (CMc/4 on
// its own axis at the right) and a table, with the angle range and step editable. One modeless
// instance, kept for the run; the main window hands it each newly calculated airfoil.

#include "Comparison.h"
#include "solver/Airfoil.h"
#include "solver/analysis/Sweep.h"

#include <QWidget>

#include <vector>

class Chart;
class FileNameAsker;
class MessagePresenter;
class NumberBox;
class QLabel;
class QMenu;
class QPushButton;
class QTableWidget;

class PolarWindow : public QWidget {
    Q_OBJECT
public:
    PolarWindow(MessagePresenter& messages, FileNameAsker& files);
    void setFileNameAsker(FileNameAsker& files) { files_ = &files; }

    // Shows the polar of this airfoil over the range set in the window.
    void setAirfoil(const orvek::Airfoil& airfoil);
    const orvek::Airfoil& airfoil() const { return airfoil_; }
    // The rows shown, and why there are none when the range cannot be calculated.
    const std::vector<orvek::SweepRow>& rows() const { return rows_; }
    QString problem() const;

    // "Save as CSV…" and "Copy" (the table as tab-separated text with its header line).
    void saveCsv();
    void copy();
    // The plot's picture items, also in its context menu.
    void copyPicture();
    void savePicture();
    // "Keep for comparison" pins the CL and CMc/4 curves shown (up to four); "Clear" removes them.
    void keepForComparison();
    void clearComparison();
    const Comparison& comparison() const { return comparison_; }

signals:
    // "Compare with a file…" of the chart's menu: a polar file laid over this airfoil's.
    void compareRequested(const orvek::Airfoil& airfoil, double alpha);

private:
    void recalculate();
    void showRows();
    void showProblem(const QString& reason);
    void handle(const std::function<void()>& handler);

    MessagePresenter& messages_;
    FileNameAsker* files_;
    orvek::Airfoil airfoil_{0.1, 0, 2};
    std::vector<orvek::SweepRow> rows_;

    NumberBox* from_ = nullptr;
    NumberBox* to_ = nullptr;
    NumberBox* step_ = nullptr;
    NumberBox* np_ = nullptr;
    QLabel* airfoilName_ = nullptr;
    QLabel* problem_ = nullptr;
    Chart* chart_ = nullptr;
    QTableWidget* table_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* copyButton_ = nullptr;
    QPushButton* keepButton_ = nullptr;
    QPushButton* clearButton_ = nullptr;
    Comparison comparison_;
    QVector<Chart::Curve> current_;  // CL and CMc/4 as last calculated
    QMenu* chartMenu_ = nullptr;
};
