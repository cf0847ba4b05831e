#pragma once
// The polar window: CL and CMc/4 against the angle of attack for one airfoil, as a plot and a
// table, with the angle range and step editable. One modeless instance, kept for the run; the
// main window hands it each newly calculated airfoil.

#include "solver/Sweep.h"

#include <QWidget>

#include <vector>

class Chart;
class FileNameAsker;
class MessagePresenter;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

class PolarWindow : public QWidget {
    Q_OBJECT
public:
    PolarWindow(MessagePresenter& messages, FileNameAsker& files);
    void setFileNameAsker(FileNameAsker& files) { files_ = &files; }

    // Shows the polar of this airfoil over the range set in the window.
    void setAirfoil(const orvek::Airfoil& airfoil);
    // The rows shown, and why there are none when the range cannot be calculated.
    const std::vector<orvek::SweepRow>& rows() const { return rows_; }
    QString problem() const;

    // "Save as CSV…" and "Copy" (the table as tab-separated text with its header line).
    void saveCsv();
    void copy();

private:
    void recalculate();
    void showRows();

    MessagePresenter& messages_;
    FileNameAsker* files_;
    orvek::Airfoil shown_{0.1, 0.0, 2.0};  // the airfoil of the polar
    std::vector<orvek::SweepRow> rows_;

    QDoubleSpinBox* from_ = nullptr;
    QDoubleSpinBox* to_ = nullptr;
    QDoubleSpinBox* step_ = nullptr;
    QSpinBox* np_ = nullptr;
    QLabel* airfoil_ = nullptr;
    QLabel* problem_ = nullptr;
    Chart* chart_ = nullptr;
    QTableWidget* table_ = nullptr;
};
