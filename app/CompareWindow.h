#pragma once
// "Compare with a file…": a file of the user's (a pressure distribution, an airfoil's coordinates
// or a polar, from a wind tunnel, another program or a textbook) laid over ours for the same
// airfoil and angle, with the difference where the x values (the angles, for a polar) can be
// matched in a second chart. The file is read by the core's bounded readers; what is wrong with
// it is said with its line number. One modeless instance, shared by the main window's plots, the
// explorer and the polar window.

#include "case/CompareFiles.h"
#include "solver/Airfoil.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <vector>

class Chart;
class FileNameAsker;
class MessagePresenter;
class QLabel;

class CompareWindow : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Pressure, Profile, Polar };

    explicit CompareWindow(MessagePresenter& messages);

    // The file question's filters, in the order of Kind.
    static QStringList filters();
    // Asks for a file and compares it with `airfoil` at `alphaDegrees` (NP surface points; a polar
    // at the file's angles); shows the window. False when nothing was compared (cancelled, or the
    // file refused with a message).
    bool askAndCompare(QWidget* parent, FileNameAsker& files, const orvek::Airfoil& airfoil, double alphaDegrees,
                       int points);
    bool compare(const QString& path, Kind kind, const orvek::Airfoil& airfoil, double alphaDegrees, int points);

    Chart* overlay() const { return overlay_; }
    Chart* difference() const { return difference_; }
    // Per side (upper, lower) for a pressure or coordinate file, one for a polar (CL).
    const std::vector<orvek::Difference>& differences() const { return differences_; }
    QString summary() const;

private:
    MessagePresenter& messages_;
    Chart* overlay_ = nullptr;
    Chart* difference_ = nullptr;
    QLabel* summary_ = nullptr;
    std::vector<orvek::Difference> differences_;
};
