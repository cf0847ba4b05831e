#include "ExplorerWindow.h"

#include "plot/Chart.h"
#include "export/AirfoilCoordinates.h"
#include "export/CatalogueLine.h"
#include "solver/Describe.h"
#include "solver/Design.h"
#include "solver/Solver.h"

#include <QApplication>
#include <QClipboard>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace {

constexpr int SliderSteps = 1000;

// The slider position of a value; values beyond the slider's range put it at its end.
int sliderPosition(double lo, double hi, double value) {
    return static_cast<int>(std::lround(std::clamp((value - lo) / (hi - lo), 0.0, 1.0) * SliderSteps));
}

}  // namespace

ExplorerWindow::ExplorerWindow() {
    setObjectName("ExplorerWindow");
    setWindowTitle("Airfoil explorer");
    resize(820, 640);

    byParameters_ = new QRadioButton("F, G, &m");
    byParameters_->setObjectName("explorerByParameters");
    byTargets_ = new QRadioButton("T&hickness, camber, trailing-edge angle");
    byTargets_->setObjectName("explorerByTargets");
    byParameters_->setChecked(true);
    connect(byTargets_, &QRadioButton::toggled, this, [this](bool on) { setTargetMode(on); });

    np_ = new QSpinBox;
    np_->setObjectName("explorerNP");
    np_->setRange(3, 100001);
    np_->setValue(201);
    np_->setKeyboardTracking(false);
    connect(np_, &QSpinBox::valueChanged, this, &ExplorerWindow::recalculate);

    auto* modes = new QHBoxLayout;
    modes->addWidget(byParameters_);
    modes->addWidget(byTargets_);
    modes->addStretch(1);
    auto* npLabel = new QLabel("&NP");
    npLabel->setBuddy(np_);
    modes->addWidget(npLabel);
    modes->addWidget(np_);

    makeRow(F, "F", 0.0, 0.3, -0.5, 2.0, 4, "F");
    makeRow(G, "G", -0.2, 0.2, -1.0, 1.0, 4, "G");
    makeRow(m, "m", 1.8, 2.0, 0.5, 4.0, 4, "m");
    makeRow(Thickness, "Thickness", 0.02, 0.3, 0.0, 0.3, 4, "thickness");
    makeRow(Camber, "Camber", -0.1, 0.1, -0.1, 0.1, 4, "camber");
    makeRow(TeAngle, QString::fromUtf8("Trailing-edge angle (°)"), 0.0, 30.0, 0.0, 30.0, 2, "teAngle");
    makeRow(Alpha, QString::fromUtf8("α (°)"), -15.0, 20.0, -90.0, 90.0, 2, "alpha");
    auto* controls = new QGridLayout;
    for (int p = 0; p < ParameterCount; ++p) {
        controls->addWidget(rows_[static_cast<std::size_t>(p)].caption, p, 0);
        controls->addWidget(rows_[static_cast<std::size_t>(p)].slider, p, 1);
        controls->addWidget(rows_[static_cast<std::size_t>(p)].box, p, 2);
    }
    controls->setColumnStretch(1, 1);

    // The coefficients and the measured geometry.
    auto* values = new QGridLayout;
    const char* names[] = {"explorerCL",    "explorerCMc4", "explorerAlfa0",
                           "explorerDelta", "explorerGama", "explorerTau"};
    const QString captions[] = {"CL",
                                "CMc/4",
                                QString::fromUtf8("α0"),
                                QString::fromUtf8("Thickness δ"),
                                QString::fromUtf8("Camber γ"),
                                QString::fromUtf8("Trailing-edge angle τ")};
    for (int k = 0; k < 6; ++k) {
        auto* value = new QLabel;
        value->setObjectName(names[k]);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        values_[static_cast<std::size_t>(k)] = value;
        values->addWidget(new QLabel(captions[k] + " ="), k % 3, (k / 3) * 2);
        values->addWidget(value, k % 3, (k / 3) * 2 + 1);
    }
    values->setColumnStretch(1, 1);
    values->setColumnStretch(3, 1);

    profile_ = new Chart;
    profile_->setObjectName("explorerProfile");
    profile_->setAxisTitles("x/c", "y/c");
    profile_->setEqualAspect(true);
    pressure_ = new Chart;
    pressure_->setObjectName("explorerPressure");
    pressure_->setAxisTitles("x/c", "1-Cp");
    auto* plots = new QSplitter(Qt::Vertical);
    plots->addWidget(pressure_);
    plots->addWidget(profile_);
    problem_ = new QLabel;
    problem_->setObjectName("explorerProblem");
    problem_->setAlignment(Qt::AlignCenter);
    problem_->setWordWrap(true);
    problem_->setStyleSheet("color: #b00000; font-weight: bold");
    pages_ = new QStackedWidget;
    pages_->addWidget(plots);
    pages_->addWidget(problem_);

    copyLine_ = new QPushButton("Copy &catalogue line");
    copyLine_->setObjectName("explorerCopyLine");
    copyLine_->setToolTip("The airfoil's line for ORVEK_Input.txt, measured as orvek-batch describe does");
    connect(copyLine_, &QPushButton::clicked, this, &ExplorerWindow::copyCatalogueLine);
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(values, 1);
    bottom->addWidget(copyLine_, 0, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(modes);
    layout->addLayout(controls);
    layout->addWidget(pages_, 1);
    layout->addLayout(bottom);

    setTargetMode(false);
    setAirfoil({0.1, 0.05, 2.0}, 5.0);
}

void ExplorerWindow::makeRow(Parameter p, const QString& caption, double lo, double hi, double boxLo, double boxHi,
                             int decimals, const char* name) {
    Row& row = rows_[static_cast<std::size_t>(p)];
    row.lo = lo;
    row.hi = hi;
    row.caption = new QLabel(caption);
    row.slider = new QSlider(Qt::Horizontal);
    row.slider->setObjectName(QString("slider_") + name);
    row.slider->setRange(0, SliderSteps);
    row.slider->setPageStep(SliderSteps / 20);
    row.box = new QDoubleSpinBox;
    row.box->setObjectName(QString("box_") + name);
    row.box->setRange(boxLo, boxHi);
    row.box->setDecimals(decimals);
    row.box->setSingleStep(std::pow(10.0, 1 - decimals) * (decimals > 2 ? 1 : 5));
    row.box->setKeyboardTracking(false);
    row.caption->setBuddy(row.box);
    row.slider->setAccessibleName(caption);
    row.box->setAccessibleName(caption);

    connect(row.slider, &QSlider::valueChanged, this, [this, p](int v) {
        Row& r = rows_[static_cast<std::size_t>(p)];
        const QSignalBlocker block(r.box);
        r.box->setValue(r.lo + (r.hi - r.lo) * v / SliderSteps);
        recalculate();
    });
    connect(row.box, &QDoubleSpinBox::valueChanged, this, [this, p](double v) {
        Row& r = rows_[static_cast<std::size_t>(p)];
        const QSignalBlocker block(r.slider);
        r.slider->setValue(sliderPosition(r.lo, r.hi, v));
        recalculate();
    });
}

void ExplorerWindow::setQuietly(Parameter p, double value) {
    Row& r = rows_[static_cast<std::size_t>(p)];
    const QSignalBlocker blockBox(r.box);
    const QSignalBlocker blockSlider(r.slider);
    r.box->setValue(value);
    r.slider->setValue(sliderPosition(r.lo, r.hi, value));
}

void ExplorerWindow::setAirfoil(const orvek::Airfoil& airfoil, double alpha) {
    {
        const QSignalBlocker block(byTargets_);
        byParameters_->setChecked(true);
    }
    setTargetMode(false);
    setQuietly(F, airfoil.F);
    setQuietly(G, airfoil.G);
    setQuietly(m, airfoil.m);
    setQuietly(Alpha, alpha);
    recalculate();
}

void ExplorerWindow::setTargetMode(bool targets) {
    if (byTargets_->isChecked() != targets) {
        const QSignalBlocker block(byTargets_);
        (targets ? byTargets_ : byParameters_)->setChecked(true);
    }
    for (Parameter p : {F, G, m}) {
        for (QWidget* w : {static_cast<QWidget*>(rows_[p].slider), static_cast<QWidget*>(rows_[p].box),
                           static_cast<QWidget*>(rows_[p].caption)}) {
            w->setVisible(!targets);
        }
    }
    for (Parameter p : {Thickness, Camber, TeAngle}) {
        for (QWidget* w : {static_cast<QWidget*>(rows_[p].slider), static_cast<QWidget*>(rows_[p].box),
                           static_cast<QWidget*>(rows_[p].caption)}) {
            w->setVisible(targets);
        }
    }
    recalculate();
}

void ExplorerWindow::setPointCount(int NP) { np_->setValue(NP); }

QString ExplorerWindow::problem() const { return plotsShown() ? QString() : problem_->text(); }
bool ExplorerWindow::plotsShown() const { return pages_->currentIndex() == 0; }

void ExplorerWindow::showProblem(const QString& reason) {
    problem_->setText(reason);
    pages_->setCurrentIndex(1);
    for (QLabel* v : values_) v->clear();
    copyLine_->setEnabled(false);
    profile_->setCurves({});
    pressure_->setCurves({});
}

void ExplorerWindow::recalculate() {
    if (!np_ || busy_) return;
    busy_ = true;
    const QLocale locale;
    const bool targets = byTargets_->isChecked();
    auto value = [this](Parameter p) { return rows_[static_cast<std::size_t>(p)].box->value(); };

    if (targets) {
        const orvek::Expected<orvek::DesignResult> d =
            orvek::designAirfoil(orvek::DesignTargets{value(Thickness), value(Camber), value(TeAngle)});
        if (!d) {
            showProblem(QString::fromStdString(d.error()));
            busy_ = false;
            return;
        }
        airfoil_ = d->airfoil;
        setQuietly(F, airfoil_.F);
        setQuietly(G, airfoil_.G);
        setQuietly(m, airfoil_.m);
    } else {
        airfoil_ = {value(F), value(G), value(m)};
    }

    orvek::SolverInput in;
    in.N1 = np_->value();
    in.airfoil = airfoil_;
    in.AlfaD = value(Alpha);
    orvek::Expected<orvek::SolverResult> r = orvek::ORVEK(in, std::move(points_));
    if (!r) {
        showProblem(QString::fromStdString(r.error()));
        busy_ = false;
        return;
    }
    points_ = std::move(r->points);

    // The geometry does not depend on the angle: measured again only for a new airfoil, by the
    // same measurement as orvek-batch describe. A shape that is no simple airfoil is refused.
    if (!measured_ || *measured_ != airfoil_) {
        const orvek::Expected<orvek::AirfoilGeometry> g = orvek::measureAirfoil(airfoil_);
        if (!g) {
            measured_.reset();
            showProblem(QString::fromStdString(g.error()));
            busy_ = false;
            return;
        }
        geometry_ = *g;
        measured_ = airfoil_;
        if (!targets) {
            setQuietly(Thickness, geometry_.Delta);
            setQuietly(Camber, geometry_.Gama);
            setQuietly(TeAngle, geometry_.Tau);
        }
    }

    // Profile: points 1..NP in order (an unset leading edge is the point (0, 0)); 1-Cp: the upper
    // and lower surfaces as two curves meeting at the leading edge.
    const std::size_t N = points_.size() - 1;
    const std::size_t front = orvek::leadingEdgeIndex(points_);
    QVector<QPointF> contour, upper, lower;
    contour.reserve(static_cast<qsizetype>(N));
    upper.reserve(static_cast<qsizetype>(N) - static_cast<qsizetype>(front) + 1);
    lower.reserve(static_cast<qsizetype>(front));
    constexpr double gap = std::numeric_limits<double>::quiet_NaN();
    for (std::size_t i = 1; i <= N; ++i) {
        const bool set = points_.isSet(i);
        contour.push_back(set ? QPointF(points_.x[i], points_.y[i]) : QPointF(0, 0));
        const QPointF cp = set ? QPointF(points_.x[i], points_.Cu[i]) : QPointF(gap, gap);
        if (i <= front) lower.push_back(cp);
        if (i >= front) upper.push_back(cp);
    }
    profile_->setCurves({Chart::Curve{QString(), QColor(200, 20, 20), contour}});
    pressure_->setCurves(
        {Chart::Curve{"upper", QColor(200, 20, 20), upper}, Chart::Curve{"lower", QColor(20, 60, 200), lower}});
    pages_->setCurrentIndex(0);
    copyLine_->setEnabled(true);

    values_[0]->setText(locale.toString(r->coefficients.CL, 'f', 4));
    values_[1]->setText(locale.toString(r->coefficients.CMc4, 'f', 4));
    values_[2]->setText(locale.toString(r->coefficients.Alfa0, 'f', 2) + QString::fromUtf8("°"));
    values_[3]->setText(QString("%1 at x/c %2")
                            .arg(locale.toString(geometry_.Delta, 'f', 4), locale.toString(geometry_.xDltC, 'f', 3)));
    values_[4]->setText(
        QString("%1 at x/c %2").arg(locale.toString(geometry_.Gama, 'f', 4), locale.toString(geometry_.xGama, 'f', 3)));
    values_[5]->setText(locale.toString(geometry_.Tau, 'f', 2) + QString::fromUtf8("°"));
    setWindowTitle("Airfoil explorer – " + QString::fromStdString(airfoil_.name()));
    busy_ = false;
}

void ExplorerWindow::copyCatalogueLine() {
    if (!plotsShown()) return;
    const orvek::Expected<orvek::AirfoilGeometry> g = orvek::measureAirfoil(airfoil_);
    if (!g) {
        showProblem(QString::fromStdString(g.error()));
        return;
    }
    QApplication::clipboard()->setText(QString::fromStdString(orvek::catalogueLine(*g, airfoil_)));
}
