#include "CompareWindow.h"

#include "FileNameAsker.h"
#include "MessagePresenter.h"
#include "NumberBox.h"
#include "ScreenFit.h"
#include "SurfaceCurves.h"
#include "plot/Chart.h"
#include "solver/surface/Solver.h"

#include <QFileInfo>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

const QColor FileColour(0, 150, 60);
const QColor FileLowerColour(200, 120, 0);

QVector<QPointF> pointsOf(const std::vector<double>& x, const std::vector<double>& y) {
    QVector<QPointF> out;
    out.reserve(static_cast<qsizetype>(x.size()));
    for (std::size_t k = 0; k < x.size() && k < y.size(); ++k) out.append(QPointF(x[k], y[k]));
    return out;
}

// The largest difference in size, for the summary line.
double largest(const std::vector<orvek::Difference>& d) {
    double m = 0;
    for (const orvek::Difference& side : d) {
        for (const double v : side.value) m = std::max(m, std::fabs(v));
    }
    return m;
}

}  // namespace

CompareWindow::CompareWindow(MessagePresenter& messages) : messages_(messages) {
    setObjectName("CompareWindow");
    setWindowTitle("Compare with a file");
    setAttribute(Qt::WA_QuitOnClose, false);
    overlay_ = new Chart;
    overlay_->setObjectName("compareOverlay");
    difference_ = new Chart;
    difference_->setObjectName("compareDifference");
    summary_ = new QLabel;
    summary_->setObjectName("compareSummary");
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->addWidget(summary_);
    layout->addWidget(overlay_, 3);
    layout->addWidget(difference_, 2);
    placeInScrollArea(*this, content);
    resizeWithinScreen(*this, QSize(640, 620));
}

QStringList CompareWindow::filters() {
    return {QString::fromUtf8("Pressure distribution: x, Cp or x, y, Cp (*.txt *.dat *.csv *.cp)"),
            QString::fromUtf8("Airfoil coordinates: Selig or Lednicer (*.dat *.txt)"),
            QString::fromUtf8("Polar: our sweep CSV or XFOIL's saved polar (*.csv *.txt *.pol)")};
}

QString CompareWindow::summary() const { return summary_->text(); }

bool CompareWindow::askAndCompare(QWidget* parent, FileNameAsker& files, const orvek::Airfoil& airfoil,
                                  double alphaDegrees, int points) {
    const std::optional<FileNameAsker::Choice> choice =
        files.askOpenFile(parent, QString::fromUtf8("Compare with a file"), filters());
    if (!choice || choice->path.isEmpty()) return false;
    const Kind kind = static_cast<Kind>(std::clamp(choice->filter, 0, 2));
    return compare(choice->path, kind, airfoil, alphaDegrees, points);
}

bool CompareWindow::compare(const QString& path, Kind kind, const orvek::Airfoil& airfoil, double alphaDegrees,
                            int points) {
    const std::string name = QFileInfo(path).fileName().toStdString();
    const orvek::Expected<std::string> text = orvek::readCompareFile(path.toStdString(), name);
    const auto refuse = [&](const std::string& why) {
        messages_.show(this->isVisible() ? this : nullptr, QString::fromStdString(why), MessagePresenter::Kind::Warning);
        return false;
    };
    if (!text) return refuse(text.error());
    const QString caption = kind == Kind::Polar ? QString::fromStdString(airfoil.name())
                                                : QString::fromUtf8("%1, α = %2°")
                                                      .arg(QString::fromStdString(airfoil.name()),
                                                           plainNumber(alphaDegrees, 2));

    orvek::SolverInput in;
    in.airfoil = airfoil;
    in.AlfaD = alphaDegrees;
    in.N1 = std::max(points, 21);
    QVector<Chart::Curve> curves, diffs;
    QString what;
    if (kind == Kind::Polar) {
        const orvek::Expected<orvek::ComparedPolar> file = orvek::readComparedPolar(*text, name);
        if (!file) return refuse(file.error());
        in.N1 = 21;  // the coefficients are closed forms: a few points suffice
        orvek::Difference d;
        QVector<QPointF> ours, theirs, oursCm, theirsCm;
        for (std::size_t k = 0; k < file->alpha.size(); ++k) {
            in.AlfaD = file->alpha[k];
            const orvek::Expected<orvek::SolverResult> r = orvek::ORVEK(in);
            if (!r) continue;
            ours.append(QPointF(file->alpha[k], r->coefficients.CL));
            theirs.append(QPointF(file->alpha[k], file->CL[k]));
            if (!std::isnan(file->CM[k])) {
                oursCm.append(QPointF(file->alpha[k], r->coefficients.CMc4));
                theirsCm.append(QPointF(file->alpha[k], file->CM[k]));
            }
            d.x.push_back(file->alpha[k]);
            d.value.push_back(file->CL[k] - r->coefficients.CL);
        }
        curves = {{"CL, ours", UpperColour, ours, false}, {"CL, file", FileColour, theirs, false}};
        if (!oursCm.isEmpty()) {
            curves.append({"CMc/4, ours (right)", LowerColour, oursCm, true});
            curves.append({"CMc/4, file (right)", FileLowerColour, theirsCm, true});
        }
        differences_ = {d};
        diffs = {{"CL, file − ours", FileColour, pointsOf(d.x, d.value), false}};
        overlay_->setEqualAspect(false);
        overlay_->setAxisTitles(QString::fromUtf8("α (°)"), "CL", oursCm.isEmpty() ? QString() : "CMc/4");
        difference_->setAxisTitles(QString::fromUtf8("α (°)"), QString::fromUtf8("ΔCL"));
        what = QString::fromUtf8("A polar of %1 angles%2").arg(file->alpha.size())
                   .arg(file->name.empty() ? QString() : QString::fromUtf8(" (“%1”)").arg(QString::fromStdString(file->name)));
    } else {
        in.N1 = std::max(points, 21);
        const orvek::Expected<orvek::SolverResult> r = orvek::ORVEK(in);
        if (!r) return refuse(r.error());
        const bool profile = kind == Kind::Profile;
        curves = surfaceCurves(r->points, profile ? SurfacePlot::Profile : SurfacePlot::Pressure);
        for (Chart::Curve& c : curves) c.name += ", ours";
        if (profile) {
            const orvek::Expected<orvek::ComparedProfile> file = orvek::readComparedProfile(*text, name);
            if (!file) return refuse(file.error());
            curves.append({QString::fromUtf8("file"), FileColour, pointsOf(file->x, file->y), false});
            differences_ = orvek::profileDifference(r->points, *file);
            what = QString::fromUtf8("A contour of %1 points").arg(file->x.size());
        } else {
            const orvek::Expected<orvek::ComparedPressure> file = orvek::readComparedPressure(*text, name);
            if (!file) return refuse(file.error());
            // as the window plots it: 1-Cp
            for (const orvek::ComparedSide side : {orvek::ComparedSide::Upper, orvek::ComparedSide::Lower}) {
                QVector<QPointF> pts;
                for (std::size_t k = 0; k < file->x.size(); ++k) {
                    if (file->side[k] == side) pts.append(QPointF(file->x[k], 1.0 - file->cp[k]));
                }
                std::sort(pts.begin(), pts.end(), [](QPointF a, QPointF b) { return a.x() < b.x(); });
                curves.append({side == orvek::ComparedSide::Upper ? "upper, file" : "lower, file",
                               side == orvek::ComparedSide::Upper ? FileColour : FileLowerColour, pts, false});
            }
            differences_ = orvek::pressureDifference(r->points, *file);
            what = QString::fromUtf8("A pressure distribution of %1 points").arg(file->x.size());
        }
        showSurface(*overlay_, r->points, profile ? SurfacePlot::Profile : SurfacePlot::Pressure);
        const QString unit = profile ? "y/c" : "Cp";
        const QString names[2] = {"upper", "lower"};
        const QColor colours[2] = {FileColour, FileLowerColour};
        for (std::size_t s = 0; s < differences_.size(); ++s) {
            QVector<QPointF> pts = pointsOf(differences_[s].x, differences_[s].value);
            std::sort(pts.begin(), pts.end(), [](QPointF a, QPointF b) { return a.x() < b.x(); });
            diffs.append({names[s] + QString::fromUtf8(", file − ours"), colours[s], pts, false});
        }
        difference_->setAxisTitles("x/c", QString::fromUtf8("Δ") + unit);
    }
    overlay_->setCaption(caption);
    overlay_->setCurves(curves);
    difference_->setCaption(QString::fromUtf8("Difference where the file's %1 match ours")
                                .arg(kind == Kind::Polar ? QString::fromUtf8("angles") : QString("x")));
    difference_->setCurves(diffs);
    std::size_t matched = 0;
    for (const orvek::Difference& d : differences_) matched += d.x.size();
    summary_->setText(QString::fromUtf8("%1 read from “%2”: %3 values matched, the largest difference %4.")
                          .arg(what, QString::fromStdString(name))
                          .arg(matched)
                          .arg(QLocale().toString(largest(differences_), 'g', 3)));
    setWindowTitle(QString::fromUtf8("Compare with a file – ") + QString::fromStdString(name));
    show();
    raise();
    return true;
}
