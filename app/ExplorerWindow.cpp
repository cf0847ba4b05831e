#include "ExplorerWindow.h"

#include "AddToCatalogue.h"
#include "CoordinateFile.h"
#include "FileNameAsker.h"
#include "Handler.h"
#include "MessagePresenter.h"
#include "NumberBox.h"
#include "PictureFile.h"
#include "ScreenFit.h"
#include "SurfaceCurves.h"
#include "case/Catalogue.h"
#include "export/AirfoilCoordinates.h"
#include "export/CatalogueLine.h"
#include "export/SaveFile.h"
#include "flow/ProfileFlow.h"
#include "plot/Chart.h"
#include "solver/analysis/Describe.h"
#include "solver/analysis/Design.h"
#include "flow/LayerPlaces.h"
#include "solver/surface/Solver.h"
#include "WindowAction.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSplitter>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr int SliderSteps = 1000;

// The slider position of a value; values beyond the slider's range put it at its end.
int sliderPosition(double lo, double hi, double value) {
    return static_cast<int>(std::lround(std::clamp((value - lo) / (hi - lo), 0.0, 1.0) * SliderSteps));
}

// The airfoil's name for the title, the captions and the legend: each number as typed (the
// shortest text that reads back as it); a value the design found, with its sixteen digits, as the
// boxes show it, to four decimals.
QString shownName(const orvek::Airfoil& airfoil) {
    const auto shown = [](double v) {
        // More than six significant digits: not typed.
        int digits = 0;
        bool leading = true;
        for (const char c : orvek::shortestText(v)) {
            if (c == 'e') break;
            if (c < '0' || c > '9' || (leading && c == '0')) continue;
            leading = false;
            ++digits;
        }
        if (digits <= 6) return v;
        const double rounded = std::round(v * 1e4) / 1e4;
        return rounded != 0 ? rounded : QString::number(v, 'g', 4).toDouble();
    };
    return QString::fromStdString(orvek::Airfoil{shown(airfoil.F), shown(airfoil.G), shown(airfoil.m)}.name());
}

}  // namespace

ExplorerWindow::ExplorerWindow(MessagePresenter& messages, FileNameAsker& files) : messages_(messages), files_(&files) {
    setObjectName("ExplorerWindow");
    setWindowTitle("Airfoil explorer");
    setAttribute(Qt::WA_QuitOnClose, false);  // the program ends with the main window

    byParameters_ = new QRadioButton("F, G, &m");
    byParameters_->setObjectName("explorerByParameters");
    // Short enough for the row to fit a screen of 1280 pixels at scale 2 beside NP and Re.
    byTargets_ = new QRadioButton(QString::fromUtf8("T&hickness, camber, τ"));
    byTargets_->setObjectName("explorerByTargets");
    byTargets_->setToolTip("Design the airfoil from its thickness, camber and trailing-edge angle");
    byParameters_->setChecked(true);
    connect(byTargets_, &QRadioButton::toggled, this, [this](bool on) { handle([this, on] { setTargetMode(on); }); });

    np_ = new NumberBox("the number of points", 2, 1000001, 0);
    np_->setObjectName("explorerNP");
    np_->setValue(201);
    connect(np_, &NumberBox::valueChanged, this, [this] { handle([this] { recalculate(); }); });

    auto* modes = new QHBoxLayout;
    modes->addWidget(byParameters_);
    modes->addWidget(byTargets_);
    modes->addStretch(1);
    flow_ = new QCheckBox("F&low");
    flow_->setObjectName("explorerFlow");
    flow_->setToolTip("Streamlines and stagnation points around the profile");
    connect(flow_, &QCheckBox::toggled, this, [this](bool on) { handle([this, on] { setFlowShown(on); }); });
    modes->addWidget(flow_);
    auto* npLabel = new QLabel("&NP");
    npLabel->setBuddy(np_);
    modes->addWidget(npLabel);
    modes->addWidget(np_);
    re_ = new NumberBox("the Reynolds number", orvek::MinReynolds, orvek::MaxReynolds, 0);
    re_->setObjectName("explorerRe");
    re_->setOptional(true);
    re_->setValue(re_->minimum());  // empty: inviscid
    re_->setAccessibleName("Reynolds number");
    re_->setToolTip("The Reynolds number of the chord for the viscous estimate (1e6 or 1000000); "
                    "empty: inviscid");
    re_->setSingleStep(1e5);
    connect(re_, &NumberBox::valueChanged, this, [this] { handle([this] { recalculate(); }); });
    auto* reLabel = new QLabel("R&e");
    reLabel->setBuddy(re_);
    modes->addWidget(reLabel);
    modes->addWidget(re_);

    const QString degrees = QString::fromUtf8("°");
    makeRow(F, "F", "F", 0.0, 0.3, -0.5, 2.0, 4, {}, "F");
    makeRow(G, "G", "G", -0.2, 0.2, -1.0, 1.0, 4, {}, "G");
    makeRow(m, "m", "m", 1.8, 2.0, 0.5, 4.0, 4, {}, "m");
    makeRow(Thickness, "Thickness", "the thickness", 0.02, 0.3, 0.0, 0.3, 4, {}, "thickness");
    makeRow(Camber, "Camber", "the camber", -0.1, 0.1, -0.1, 0.1, 4, {}, "camber");
    makeRow(TeAngle, QString::fromUtf8("Trailing-edge angle (°)"), "the trailing-edge angle", 0.0, 30.0, 0.0, 30.0, 2,
            degrees, "teAngle");
    makeRow(Alpha, QString::fromUtf8("α (°)"), "the angle of attack", -15.0, 20.0, -orvek::MaxAngleDegrees,
            orvek::MaxAngleDegrees, 2, degrees, "alpha");
    auto* controls = new QGridLayout;
    for (int p = 0; p < ParameterCount; ++p) {
        controls->addWidget(rows_[static_cast<std::size_t>(p)].caption, p, 0);
        controls->addWidget(rows_[static_cast<std::size_t>(p)].slider, p, 1);
        controls->addWidget(rows_[static_cast<std::size_t>(p)].box, p, 2);
    }
    controls->setColumnStretch(1, 1);

    // The coefficients, the measured geometry and the viscous estimate, a column each.
    auto* values = new QGridLayout;
    const char* names[] = {"explorerCL",   "explorerCMc4", "explorerAlfa0",      "explorerDelta", "explorerGama",
                           "explorerTau", "explorerCD",   "explorerTransition", "explorerLD"};
    const QString captions[] = {"CL",
                                "CMc/4",
                                QString::fromUtf8("α0"),
                                QString::fromUtf8("Thickness δ"),
                                QString::fromUtf8("Camber γ"),
                                QString::fromUtf8("Trailing-edge angle τ"),
                                "CD",
                                "Transition x/c",
                                "L/D"};
    for (int k = 0; k < static_cast<int>(values_.size()); ++k) {
        auto* value = new QLabel;
        value->setObjectName(names[k]);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        values_[static_cast<std::size_t>(k)] = value;
        values->addWidget(new QLabel(captions[k] + " ="), k % 3, (k / 3) * 2);
        values->addWidget(value, k % 3, (k / 3) * 2 + 1);
    }
    for (int column : {1, 3, 5}) values->setColumnStretch(column, 1);
    viscousNote_ = new QLabel;
    viscousNote_->setObjectName("explorerViscousNote");
    viscousNote_->setWordWrap(true);
    viscousNote_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    viscousNote_->setStyleSheet("color: #a04000");
    viscousNote_->hide();

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
    pages_->setMinimumHeight(160);

    copyLine_ = new QPushButton("Copy &catalogue line");
    copyLine_->setObjectName("explorerCopyLine");
    copyLine_->setToolTip("The airfoil's line for ORVEK_Input.txt, measured as orvek-batch describe does");
    connect(copyLine_, &QPushButton::clicked, this, [this] { handle([this] { copyCatalogueLine(); }); });
    keep_ = new QPushButton("&Keep for comparison");
    keep_->setObjectName("explorerKeep");
    keep_->setToolTip("Pins the 1-Cp and profile curves as fainter lines, up to four");
    connect(keep_, &QPushButton::clicked, this, [this] { handle([this] { keepForComparison(); }); });
    clear_ = new QPushButton("Clea&r");
    clear_->setObjectName("explorerClear");
    clear_->setToolTip("Removes the pinned curves");
    connect(clear_, &QPushButton::clicked, this, [this] { handle([this] { clearComparison(); }); });
    // The values across the window, the buttons under them on the right, then the estimate's
    // warnings.
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {keep_, clear_, copyLine_}) buttons->addWidget(b);

    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->addLayout(modes);
    layout->addLayout(controls);
    layout->addWidget(pages_, 1);
    layout->addLayout(values);
    layout->addLayout(buttons);
    layout->addWidget(viscousNote_);
    placeInScrollArea(*this, content);
    resizeWithinScreen(*this, QSize(820, 640));

    // Tab goes from box to box in reading order; the sliders come after them (and each follows
    // its box's value with the arrow keys).
    QList<QWidget*> order{byParameters_, byTargets_, flow_, np_, re_};
    for (const Row& r : rows_) order << r.box;
    for (const Row& r : rows_) order << r.slider;
    order << keep_ << clear_ << copyLine_;
    for (qsizetype k = 1; k < order.size(); ++k) setTabOrder(order[k - 1], order[k]);

    profile_->installEventFilter(this);
    buildMenu();
    setTargetMode(false);
    setAirfoil(orvek::Airfoil{0.1, 0.05, 2.0}, 5.0);
}

void ExplorerWindow::handle(const std::function<void()>& handler) { runHandler(this, messages_, handler); }

QDoubleSpinBox* ExplorerWindow::spinBox(Parameter p) const { return rows_[p].box; }

void ExplorerWindow::makeRow(Parameter p, const QString& caption, const QString& what, double lo, double hi,
                             double boxLo, double boxHi, int decimals, const QString& unit, const char* name) {
    Row& row = rows_[static_cast<std::size_t>(p)];
    row.lo = lo;
    row.hi = hi;
    row.caption = new QLabel(caption);
    row.slider = new QSlider(Qt::Horizontal);
    row.slider->setObjectName(QString("slider_") + name);
    row.slider->setRange(0, SliderSteps);
    row.slider->setPageStep(SliderSteps / 20);
    row.box = new NumberBox(what, boxLo, boxHi, decimals, unit);
    row.box->setObjectName(QString("box_") + name);
    row.box->setSingleStep(std::pow(10.0, 1 - decimals) * (decimals > 2 ? 1 : 5));
    row.caption->setBuddy(row.box);
    row.slider->setAccessibleName(caption);
    row.box->setAccessibleName(caption);

    connect(row.slider, &QSlider::valueChanged, this, [this, p](int v) {
        Row& r = rows_[static_cast<std::size_t>(p)];
        const QSignalBlocker block(r.box);
        r.box->setValue(r.lo + (r.hi - r.lo) * v / SliderSteps);
        handle([this, p] { changedByUser(p); });
    });
    connect(row.box, &NumberBox::valueChanged, this, [this, p](double v) {
        Row& r = rows_[static_cast<std::size_t>(p)];
        const QSignalBlocker block(r.slider);
        r.slider->setValue(sliderPosition(r.lo, r.hi, v));
        handle([this, p] { changedByUser(p); });
    });
}

void ExplorerWindow::buildMenu() {
    menu_ = new QMenu(this);
    menu_->setObjectName("explorerPlotMenu");
    auto action = [this](const QString& text, const QKeySequence& keys, const char* name,
                         void (ExplorerWindow::*slot)()) {
        QAction* a = addWindowAction(*this, menu_, text, keys, name,
                                     [this, slot] { handle([this, slot] { (this->*slot)(); }); });
        plotActions_ << a;
        return a;
    };
    action("Copy picture", QKeySequence("Ctrl+Shift+C"), "explorerCopyPicture", &ExplorerWindow::copyPicture);
    action(QString::fromUtf8("Save picture as…"), QKeySequence("Ctrl+Shift+S"), "explorerSavePicture",
           &ExplorerWindow::savePicture);
    menu_->addSeparator();
    action(QString::fromUtf8("Export coordinates…"), QKeySequence("Ctrl+Shift+E"), "explorerExportCoordinates",
           &ExplorerWindow::exportCoordinates);
    action("Add to catalogue", QKeySequence("Ctrl+Shift+K"), "explorerAddToCatalogue", &ExplorerWindow::addToCatalogue);
    menu_->addSeparator();
    QAction* polar = addWindowAction(*this, menu_, QString::fromUtf8("Polar…"), QKeySequence("Ctrl+Shift+P"),
                                     "explorerPolar", [this] {
                                         if (plotsShown()) emit polarRequested(airfoil_);
                                     });
    plotActions_ << polar;
    QAction* compare = addWindowAction(*this, menu_, QString::fromUtf8("Compare with a file…"),
                                       QKeySequence("Ctrl+Shift+O"), "explorerCompare", [this] {
                                           if (plotsShown()) emit compareRequested(airfoil_, alpha_);
                                       });
    plotActions_ << compare;
    for (Chart* chart : {pressure_, profile_}) {
        chart->setContextMenuPolicy(Qt::CustomContextMenu);
        chart->setFocusPolicy(Qt::StrongFocus);
        connect(chart, &QWidget::customContextMenuRequested, this, [this, chart](const QPoint& at) {
            chart->setFocus(Qt::PopupFocusReason);
            menu_->popup(chart->mapToGlobal(at));
        });
    }
}

void ExplorerWindow::setQuietly(Parameter p, double value) {
    Row& r = rows_[static_cast<std::size_t>(p)];
    const QSignalBlocker blockBox(r.box);
    const QSignalBlocker blockSlider(r.slider);
    r.box->setValue(value);
    r.slider->setValue(sliderPosition(r.lo, r.hi, value));
}

void ExplorerWindow::setAirfoil(const orvek::Airfoil& airfoil, double alpha) {
    airfoil_ = airfoil;
    designProblem_.reset();
    alpha_ = alpha;
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
    edited_ = false;
}

void ExplorerWindow::setTargetMode(bool targets) {
    if (byTargets_->isChecked() != targets) {
        const QSignalBlocker block(byTargets_);
        (targets ? byTargets_ : byParameters_)->setChecked(true);
    }
    for (int p = F; p <= TeAngle; ++p) {
        const bool shown = (p >= Thickness) == targets;
        const Row& r = rows_[static_cast<std::size_t>(p)];
        for (QWidget* w :
             {static_cast<QWidget*>(r.slider), static_cast<QWidget*>(r.box), static_cast<QWidget*>(r.caption)}) {
            w->setVisible(shown);
        }
    }
    // The boxes of the other mode show the airfoil as it is; switching changes nothing of it.
    setQuietly(F, airfoil_.F);
    setQuietly(G, airfoil_.G);
    setQuietly(m, airfoil_.m);
    if (measured_) {
        setQuietly(Thickness, geometry_.thickness);
        setQuietly(Camber, geometry_.camber);
        setQuietly(TeAngle, geometry_.teAngleDegrees);
    }
    recalculate();
}

void ExplorerWindow::setPointCount(int NP) { np_->setValue(NP); }

void ExplorerWindow::setReynolds(std::optional<double> Re) {
    if (Re) re_->setValue(*Re);
    else re_->setValue(re_->minimum());
}

bool ExplorerWindow::eventFilter(QObject* watched, QEvent* event) {
    // The streamlines fill the range the profile plot shows, which its size sets.
    if (watched == profile_ && event->type() == QEvent::Resize && flow_->isChecked() && plotsShown() && !busy_) {
        handle([this] { showCurves(); });
    }
    return QWidget::eventFilter(watched, event);
}

QString ExplorerWindow::problem() const { return plotsShown() ? QString() : problem_->text(); }
bool ExplorerWindow::plotsShown() const { return pages_->currentIndex() == 0; }

void ExplorerWindow::showProblem(const QString& reason) {
    problem_->setText(reason);
    pages_->setCurrentIndex(1);
    for (QLabel* v : values_) v->clear();
    viscous_.reset();
    profile_->setMarkers({});
    copyLine_->setEnabled(false);
    keep_->setEnabled(false);
    for (QAction* a : plotActions_) a->setEnabled(false);
    profile_->setCurves({});
    pressure_->setCurves({});
}

void ExplorerWindow::changedByUser(Parameter p) {
    if (busy_) return;
    edited_ = true;
    const auto box = [this](Parameter q) { return rows_[static_cast<std::size_t>(q)].box; };
    if (const std::optional<QString> outside = box(p)->rangeProblem()) {
        showProblem(*outside);
        return;
    }
    switch (p) {
    case F: airfoil_.F = box(F)->value(); break;
    case G: airfoil_.G = box(G)->value(); break;
    case m: airfoil_.m = box(m)->value(); break;
    case Alpha: alpha_ = box(Alpha)->value(); break;
    case Thickness:
    case Camber:
    case TeAngle: {
        for (Parameter q : {Thickness, Camber, TeAngle}) {
            if (const std::optional<QString> outside = box(q)->rangeProblem()) {
                showProblem(*outside);
                return;
            }
        }
        const orvek::Expected<orvek::DesignResult> d = orvek::designAirfoil(
            orvek::DesignTargets{box(Thickness)->value(), box(Camber)->value(), box(TeAngle)->value()});
        if (!d) {
            designProblem_ = QString::fromStdString(d.error());
            showProblem(*designProblem_);
            return;
        }
        designProblem_.reset();
        airfoil_ = d->airfoil;
        setQuietly(F, airfoil_.F);
        setQuietly(G, airfoil_.G);
        setQuietly(m, airfoil_.m);
        break;
    }
    default: break;
    }
    recalculate();
}

void ExplorerWindow::recalculate() {
    if (!np_ || busy_) return;
    busy_ = true;
    struct Done {
        bool& busy;
        ~Done() { busy = false; }
    } done{busy_};

    if (const std::optional<QString> refused = inputProblem()) {
        showProblem(*refused);
        return;
    }
    const orvek::Expected<orvek::Coefficients> coefficients = solve();
    if (!coefficients) {
        showProblem(QString::fromStdString(coefficients.error()));
        return;
    }
    if (const std::optional<QString> unmeasurable = measure()) {
        showProblem(*unmeasurable);
        return;
    }
    estimate(*coefficients);
    showCurves();
    showTexts(*coefficients);
}

std::optional<QString> ExplorerWindow::inputProblem() const {
    // Targets that cannot be designed, and a value typed beyond its box's range, stay refused
    // until they are changed.
    if (designProblem_ && byTargets_->isChecked()) return designProblem_;
    QList<NumberBox*> shown{np_, re_};
    for (const Row& row : rows_) {
        if (!row.box->isHidden()) shown << row.box;
    }
    for (NumberBox* box : shown) {
        if (std::optional<QString> outside = box->rangeProblem()) return outside;
    }
    return std::nullopt;
}

orvek::Expected<orvek::Coefficients> ExplorerWindow::solve() {
    orvek::SolverInput in;
    in.N1 = np_->value();
    in.airfoil = airfoil_;
    in.AlfaD = alpha_;
    orvek::Expected<orvek::SolverResult> r = orvek::ORVEK(in, std::move(points_));
    if (!r) return orvek::Failure{r.error()};
    points_ = std::move(r->points);
    return r->coefficients;
}

std::optional<QString> ExplorerWindow::measure() {
    // The geometry does not depend on the angle: measured again only for a new airfoil, by the
    // same measurement as orvek-batch describe. A shape that is no simple airfoil is refused.
    if (measured_ && *measured_ == airfoil_) return std::nullopt;
    const orvek::Expected<orvek::AirfoilGeometry> g = orvek::measureAirfoil(airfoil_);
    if (!g) {
        measured_.reset();
        return QString::fromStdString(g.error());
    }
    geometry_ = *g;
    measured_ = airfoil_;
    if (!byTargets_->isChecked()) {
        setQuietly(Thickness, geometry_.thickness);
        setQuietly(Camber, geometry_.camber);
        setQuietly(TeAngle, geometry_.teAngleDegrees);
    }
    return std::nullopt;
}

void ExplorerWindow::estimate(const orvek::Coefficients& coefficients) {
    viscous_.reset();
    const QLocale locale;
    const std::optional<double> Re = re_->number();
    QString note;
    if (Re) {
        orvek::ViscousInput in;
        in.airfoil = airfoil_;
        in.alphaDegrees = alpha_;
        in.Re = *Re;
        orvek::Expected<orvek::ViscousResult> r = orvek::boundaryLayer(in);
        if (r) viscous_ = std::move(*r);
        else note = QString::fromStdString(r.error());
    }
    QVector<Chart::Marker> markers;
    if (viscous_) {
        const orvek::ViscousResult& v = *viscous_;
        values_[6]->setText(plainNumber(v.CD, 5, locale));
        values_[7]->setText(QString("%1 upper, %2 lower")
                                .arg(plainNumber(v.upper.transition, 3, locale), plainNumber(v.lower.transition, 3, locale)));
        values_[8]->setText(v.CD > 0 ? plainNumber(coefficients.CL / v.CD, 1, locale) : QString());
        QStringList sentences;
        for (const orvek::ViscousFlag& flag : v.flags) sentences << QString::fromStdString(flag.sentence);
        note = sentences.join('\n');
        for (const LayerPlace& place : layerPlaces(v, locale)) {
            const QColor colour = place.kind == LayerPlace::Kind::Transition ? QColor(0, 120, 60)
                                  : place.kind == LayerPlace::Kind::Bubble    ? QColor(150, 110, 0)
                                                                              : QColor(200, 0, 0);
            markers.push_back(Chart::Marker{place.at, place.label, colour, place.surface == orvek::Surface::Lower});
        }
    } else {
        const QString none = Re ? QString::fromUtf8("–") : QString("inviscid");
        for (std::size_t k = 6; k < values_.size(); ++k) values_[k]->setText(k == 6 ? none : QString::fromUtf8("–"));
    }
    profile_->setMarkers(std::move(markers));
    viscousNote_->setText(note);
    viscousNote_->setVisible(!note.isEmpty());
}

QVector<Chart::Curve> ExplorerWindow::profileCurves() const {
    // The range follows the profile and the pinned profiles alone; the flow fills it.
    if (!flow_->isChecked()) return {};
    return profileFlowCurves(airfoil_, alpha_, profile_->shownRange());
}

void ExplorerWindow::showCurves() {
    // Profile: points 1..NP in order (an unset leading edge is the point (0, 0)); 1-Cp: the upper
    // and lower surfaces as two curves meeting at the leading edge.
    const std::size_t N = points_.size() - 1;
    QVector<QPointF> contour;
    contour.reserve(static_cast<qsizetype>(N));
    for (std::size_t i = 1; i <= N; ++i) {
        contour.push_back(points_.isSet(i) ? QPointF(points_.x[i], points_.y[i]) : QPointF(0, 0));
    }
    currentProfile_ = {Chart::Curve{QString(), UpperColour, contour, false}};
    currentPressure_ = surfaceCurves(points_, SurfacePlot::Pressure);
    // The flow behind the profile, the pinned curves behind the current ones; the flow is fitted to
    // the range the profiles give.
    profile_->setCurves(comparison_.withCurrent(1, currentProfile_));
    if (flow_->isChecked()) {
        QVector<Chart::Curve> profile = profileCurves();
        profile += currentProfile_;
        profile_->setCurves(comparison_.withCurrent(1, std::move(profile)));
    }
    pressure_->setCurves(comparison_.withCurrent(0, currentPressure_));
    pages_->setCurrentIndex(0);
    copyLine_->setEnabled(true);
    keep_->setEnabled(true);
    for (QAction* a : plotActions_) a->setEnabled(true);
}

void ExplorerWindow::showTexts(const orvek::Coefficients& coefficients) {
    const QLocale locale;
    values_[0]->setText(plainNumber(coefficients.CL, 4, locale));
    values_[1]->setText(plainNumber(coefficients.CMc4, 4, locale));
    values_[2]->setText(plainNumber(coefficients.Alfa0, 2, locale) + QString::fromUtf8("°"));
    showMeasurement();
    const QString name = shownName(airfoil_);
    const QString caption = QString::fromUtf8("%1, α = %2°").arg(name, plainNumber(alpha_, 2, locale));
    profile_->setCaption(caption);
    pressure_->setCaption(caption);
    setWindowTitle(QString::fromUtf8("Airfoil explorer – ") + name);
}

void ExplorerWindow::showMeasurement() {
    const QLocale locale;
    values_[3]->setText(
        QString("%1 at x/c %2")
            .arg(plainNumber(geometry_.thickness, 4, locale), plainNumber(geometry_.thicknessPosition, 4, locale)));
    values_[4]->setText(
        QString("%1 at x/c %2")
            .arg(plainNumber(geometry_.camber, 4, locale), plainNumber(geometry_.camberPosition, 4, locale)));
    values_[5]->setText(plainNumber(geometry_.teAngleDegrees, 2, locale) + QString::fromUtf8("°"));
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

void ExplorerWindow::copyPicture() {
    if (!plotsShown()) return;
    Chart* chart = focusWidget() == profile_ ? profile_ : pressure_;
    ::copyPicture(PictureRequest{chartsPaint({chart}, chart->size()), chart->size(), 2.0 * devicePixelRatioF(), {}, {}});
}

void ExplorerWindow::savePicture() {
    if (!plotsShown()) return;
    const bool profile = focusWidget() == profile_;
    Chart* chart = profile ? profile_ : pressure_;
    ::savePicture(this, *files_, messages_,
                  PictureRequest{chartsPaint({chart}, chart->size()),
                                 chart->size(),
                                 2.0 * devicePixelRatioF(),
                                 profile ? "profile" : "pressure",
                                 profile ? "Profile" : "1-Cp"});
}

void ExplorerWindow::exportCoordinates() {
    if (!plotsShown()) return;
    const std::optional<CoordinateFileChoice> choice = askCoordinateFile(this, *files_);
    if (!choice) return;
    // The explorer's last case: its points are 0..NP.
    const double NP = static_cast<double>(points_.size() - 1);
    const orvek::Expected<orvek::CoordinateFile> file =
        orvek::coordinateFile({airfoil_, choice->format, NP, alpha_, std::nullopt});
    const orvek::Status saved =
        file ? orvek::saveFile(choice->path.toStdString(), [&](orvek::TextOutput& out) { file->write(out); })
             : orvek::Status(orvek::Failure{file.error()});
    if (!saved) messages_.show(this, QString::fromStdString(saved.error()), MessagePresenter::Kind::Warning);
}

void ExplorerWindow::addToCatalogue() {
    if (!plotsShown()) return;
    const orvek::Expected<orvek::AirfoilGeometry> g = orvek::measureAirfoil(airfoil_);
    const orvek::Status added = g ? ::addToCatalogue(orvek::CatalogueFileName, orvek::catalogueLine(*g, airfoil_))
                                  : orvek::Status(orvek::Failure{g.error()});
    if (!added) {
        messages_.show(this, QString::fromStdString(added.error()), MessagePresenter::Kind::Warning);
        return;
    }
    emit catalogueExtended();
}

void ExplorerWindow::setFlowShown(bool shown) {
    if (flow_->isChecked() != shown) {
        flow_->setChecked(shown);  // recalculates through its signal
        return;
    }
    recalculate();
}

void ExplorerWindow::keepForComparison() {
    if (!plotsShown()) return;
    comparison_.keep(QString::fromUtf8("%1, α = %2°").arg(shownName(airfoil_), plainNumber(alpha_, 2, QLocale())),
                     {currentPressure_, currentProfile_});
    recalculate();
}

void ExplorerWindow::clearComparison() {
    comparison_.clear();
    recalculate();
}
