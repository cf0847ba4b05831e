#include "BoundaryLayerWindow.h"

#include "FileNameAsker.h"
#include "Handler.h"
#include "MessagePresenter.h"
#include "NumberBox.h"
#include "PictureFile.h"
#include "ScreenFit.h"
#include "SurfaceCurves.h"
#include "WindowAction.h"
#include "export/SaveFile.h"
#include "export/ViscousTable.h"
#include "plot/Chart.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The second colour of a side in the θ and δ* chart: δ* lighter than θ.
QColor lighter(const QColor& c) { return QColor((c.red() + 2 * 255) / 3, (c.green() + 2 * 255) / 3, (c.blue() + 2 * 255) / 3); }

Qt::PenStyle stateStyle(orvek::LayerState state) {
    switch (state) {
        case orvek::LayerState::Laminar: return Qt::SolidLine;
        case orvek::LayerState::Turbulent: return Qt::DashLine;
        case orvek::LayerState::Separated: return Qt::DotLine;
    }
    return Qt::SolidLine;
}

// One quantity of one side along x/c, a curve for each stretch of one state of the layer, each
// running on to the next stretch's first station so the line is unbroken; the first is named, for
// the legend. `untilTransition` stops at the first turbulent station (N grows only before it,
// in the laminar layer and a laminar bubble).
void addSide(QVector<Chart::Curve>& curves, const orvek::LayerSide& side, double orvek::LayerStation::*value,
             const QString& name, const QColor& colour, bool untilTransition = false) {
    const std::vector<orvek::LayerStation>& st = side.stations;
    for (std::size_t k = 0; k < st.size();) {
        const orvek::LayerState state = st[k].state;
        if (untilTransition && state == orvek::LayerState::Turbulent) break;
        std::size_t end = k;
        while (end < st.size() && st[end].state == state) ++end;
        Chart::Curve c{k == 0 ? name : QString(), colour, {}, false, stateStyle(state)};
        const std::size_t last = std::min(end + 1, st.size());
        c.points.reserve(static_cast<qsizetype>(last - k));
        for (std::size_t j = k; j < last; ++j) c.points.push_back(QPointF(st[j].x, st[j].*value));
        curves.push_back(std::move(c));
        k = end;
    }
}

// The quantity on both sides: upper then lower, in the colours of every surface chart.
void addSides(QVector<Chart::Curve>& curves, const orvek::ViscousResult& r, double orvek::LayerStation::*value,
              const QString& quantity, bool lighterShade = false, bool untilTransition = false) {
    const QString prefix = quantity.isEmpty() ? QString() : quantity + " ";
    addSide(curves, r.upper, value, prefix + "upper", lighterShade ? lighter(UpperColour) : UpperColour,
            untilTransition);
    addSide(curves, r.lower, value, prefix + "lower", lighterShade ? lighter(LowerColour) : LowerColour,
            untilTransition);
}

// The key to the line styles, as legend entries without points.
void addStateKey(QVector<Chart::Curve>& curves) {
    const QColor grey(90, 90, 90);
    curves.push_back(Chart::Curve{"laminar", grey, {}, false, Qt::SolidLine});
    curves.push_back(Chart::Curve{"turbulent", grey, {}, false, Qt::DashLine});
    curves.push_back(Chart::Curve{"separated", grey, {}, false, Qt::DotLine});
}

QString xText(double x, const QLocale& locale) { return plainNumber(x, 3, locale); }

// Transition and separation of both sides, as vertical lines with captions.
QVector<Chart::Mark> layerMarks(const orvek::ViscousResult& r) {
    const QLocale locale;
    QVector<Chart::Mark> marks;
    for (const orvek::LayerSide* side : {&r.upper, &r.lower}) {
        const QColor colour = side == &r.upper ? UpperColour : LowerColour;
        const QString name = side == &r.upper ? "upper" : "lower";
        // A side laminar to the trailing edge has no transition to mark.
        if (side->transition < 1 || side->tripped) {
            marks.push_back(Chart::Mark{side->transition,
                                        QString("%1 %2 %3").arg(name, side->tripped ? "trip" : "transition",
                                                                xText(side->transition, locale)),
                                        colour});
        }
        if (side->separation) {
            marks.push_back(Chart::Mark{*side->separation,
                                        QString("%1 separation %2").arg(name, xText(*side->separation, locale)),
                                        colour});
        }
    }
    return marks;
}

}  // namespace

BoundaryLayerWindow::BoundaryLayerWindow(MessagePresenter& messages, FileNameAsker& files)
    : messages_(messages), files_(&files) {
    setObjectName("BoundaryLayerWindow");
    setWindowTitle("Boundary layer");
    setAttribute(Qt::WA_QuitOnClose, false);  // the program ends with the main window

    auto box = [this](const QString& what, double lo, double hi, int decimals, const char* name, const QString& example,
                      const QString& tip) {
        auto* b = new NumberBox(what, lo, hi, decimals);
        b->setObjectName(name);
        b->sayRefusals(messages_, example);
        b->setToolTip(tip);
        return b;
    };
    re_ = box("the Reynolds number", orvek::MinReynolds, orvek::MaxReynolds, 0, "layerRe", "1e6 or 1000000",
              "Reynolds number of the chord and the free stream (1e6 or 1000000)");
    re_->setValue(1e6);
    re_->setSingleStep(1e5);
    ncrit_ = box("Ncrit", orvek::MinNcrit, orvek::MaxNcrit, 1, "layerNcrit", "9",
                 "Critical amplification exponent: 9 for a quiet wind tunnel, lower for a noisy stream");
    ncrit_->setValue(orvek::DefaultNcrit);
    tripUpper_ = box("the upper trip", 0, 1, 3, "layerTripUpper", "0.1",
                     "x/c where transition is forced on the upper side; empty for none");
    tripLower_ = box("the lower trip", 0, 1, 3, "layerTripLower", "0.1",
                     "x/c where transition is forced on the lower side; empty for none");
    mach_ = box("the Mach number", 0, 0.99, 3, "layerMach", "0.3",
                "Free-stream Mach number for the compressibility correction; empty or 0 for none");
    for (NumberBox* b : {tripUpper_, tripLower_, mach_}) {
        b->setOptional(true);
        b->setValue(b->minimum());  // empty: none
        b->setSingleStep(0.05);
    }

    auto* inputs = new QHBoxLayout;
    auto add = [&](const QString& caption, QWidget* w) {
        auto* l = new QLabel(caption);
        l->setBuddy(w);
        inputs->addWidget(l);
        inputs->addWidget(w);
    };
    add("&Re", re_);
    add("&Ncrit", ncrit_);
    add("Trip &upper x/c", tripUpper_);
    add("Trip &lower x/c", tripLower_);
    add("&Mach", mach_);
    inputs->addStretch(1);

    caseName_ = new QLabel;
    caseName_->setObjectName("layerCase");
    caseName_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    problem_ = new QLabel;
    problem_->setObjectName("layerProblem");
    problem_->setStyleSheet("color: #b00000");
    problem_->setWordWrap(true);
    problem_->hide();

    chartMenu_ = new QMenu(this);
    chartMenu_->setObjectName("layerChartMenu");
    auto action = [this](const QString& text, const QKeySequence& keys, const char* name,
                         void (BoundaryLayerWindow::*slot)()) {
        return addWindowAction(*this, chartMenu_, text, keys, name,
                               [this, slot] { handle([this, slot] { (this->*slot)(); }); });
    };
    action("Copy picture", QKeySequence("Ctrl+Shift+C"), "layerCopyPicture", &BoundaryLayerWindow::copyPicture);
    action(QString::fromUtf8("Save picture as…"), QKeySequence("Ctrl+Shift+S"), "layerSavePicture",
           &BoundaryLayerWindow::savePicture);
    action("Copy numbers", QKeySequence("Ctrl+Shift+N"), "layerCopyNumbers", &BoundaryLayerWindow::copyNumbers);
    action(QString::fromUtf8("Export stations…"), QKeySequence("Ctrl+Shift+E"), "layerExportStations",
           &BoundaryLayerWindow::exportStations);

    const std::array<QString, ChartCount> yTitles = {"Ue/V", QString::fromUtf8("θ/c, δ*/c"), "H", "Cf", "N"};
    auto* grid = new QGridLayout;
    for (int k = 0; k < ChartCount; ++k) {
        auto* c = new Chart;
        c->setObjectName(QString("layerChart%1").arg(k));
        c->setAxisTitles("x/c", yTitles[static_cast<std::size_t>(k)]);
        c->setXRange(0, 1);
        c->setLegendLines(true);
        c->setMinimumSize(280, 220);
        c->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(c, &QWidget::customContextMenuRequested, this,
                [this, c](const QPoint& at) { chartMenu_->popup(c->mapToGlobal(at)); });
        charts_[static_cast<std::size_t>(k)] = c;
        grid->addWidget(c, k / 3, k % 3);
    }

    // The numbers in two columns: names, and values aligned at the right.
    numberNames_ = new QLabel;
    numberNames_->setObjectName("layerNumberNames");
    numbers_ = new QLabel;
    numbers_->setObjectName("layerNumbers");
    for (QLabel* l : {numberNames_, numbers_}) {
        l->setTextFormat(Qt::PlainText);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        l->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);  // every row shown
    }
    numberNames_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    numbers_->setAlignment(Qt::AlignRight | Qt::AlignTop);
    auto* numberColumns = new QHBoxLayout;
    numberColumns->addWidget(numberNames_);
    numberColumns->addSpacing(12);
    numberColumns->addWidget(numbers_);
    numberColumns->addStretch(1);
    flags_ = new QLabel;
    flags_->setObjectName("layerFlags");
    flags_->setWordWrap(true);
    flags_->setStyleSheet("color: #b00000");
    flags_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    flags_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* key = new QLabel(QString::fromUtf8("Lines: solid laminar, dashed turbulent, dotted separated; red upper, "
                                             "blue lower side."));
    key->setWordWrap(true);
    auto* numbersColumn = new QVBoxLayout;
    numbersColumn->addLayout(numberColumns);
    numbersColumn->addWidget(flags_);
    numbersColumn->addWidget(key);
    numbersColumn->addStretch(1);
    grid->addLayout(numbersColumn, 1, 2);
    for (int row = 0; row < 2; ++row) grid->setRowStretch(row, 1);
    for (int column = 0; column < 3; ++column) grid->setColumnStretch(column, 1);

    auto button = [this](const QString& text, const char* name, void (BoundaryLayerWindow::*slot)()) {
        auto* b = new QPushButton(text);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, [this, slot] { handle([this, slot] { (this->*slot)(); }); });
        resultButtons_.push_back(b);
        return b;
    };
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(button("Copy &numbers", "layerCopy", &BoundaryLayerWindow::copyNumbers));
    buttons->addWidget(button("Copy &picture", "layerPicture", &BoundaryLayerWindow::copyPicture));
    buttons->addStretch(1);
    buttons->addWidget(button(QString::fromUtf8("&Save picture as…"), "layerSave", &BoundaryLayerWindow::savePicture));
    buttons->addWidget(button(QString::fromUtf8("&Export stations…"), "layerExport", &BoundaryLayerWindow::exportStations));

    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->addWidget(caseName_);
    layout->addLayout(inputs);
    layout->addWidget(problem_);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);
    placeInScrollArea(*this, content);
    resizeWithinScreen(*this, QSize(1180, 760));

    for (NumberBox* b : {re_, ncrit_, tripUpper_, tripLower_, mach_}) {
        connect(b, &NumberBox::valueChanged, this, [this] { handle([this] { recalculate(); }); });
    }
    showResult();  // nothing yet: the case comes with setCase
}

void BoundaryLayerWindow::handle(const std::function<void()>& handler) { runHandler(this, messages_, handler); }

QString BoundaryLayerWindow::problem() const { return problem_->text(); }

void BoundaryLayerWindow::setCase(const orvek::Airfoil& airfoil, double alphaDegrees) {
    airfoil_ = airfoil;
    alphaDegrees_ = alphaDegrees;
    recalculate();
}

void BoundaryLayerWindow::showProblem(const QString& reason) {
    result_.reset();
    problem_->setText(reason);
    problem_->show();
}

void BoundaryLayerWindow::recalculate() {
    problem_->clear();
    problem_->hide();
    const QLocale locale;
    const QString name = QString::fromStdString(airfoil_.name());
    const QString angle = QString::fromUtf8("α = %1°").arg(locale.toString(alphaDegrees_, 'g', 6));
    caseName_->setText(name + ", " + angle);
    setWindowTitle(QString::fromUtf8("Boundary layer – %1, %2").arg(name, angle));

    std::optional<QString> outOfRange;
    for (NumberBox* b : {re_, ncrit_, tripUpper_, tripLower_, mach_}) {
        if (!outOfRange) outOfRange = b->rangeProblem();
    }
    input_ = orvek::ViscousInput{};
    input_.airfoil = airfoil_;
    input_.alphaDegrees = alphaDegrees_;
    input_.Re = re_->value();
    input_.Ncrit = ncrit_->value();
    input_.tripUpper = tripUpper_->number();
    input_.tripLower = tripLower_->number();
    input_.mach = mach_->number().value_or(0.0);
    if (outOfRange) {
        showProblem(*outOfRange);
    } else {
        orvek::Expected<orvek::ViscousResult> r = orvek::boundaryLayer(input_);
        if (r) result_ = std::move(*r);
        else showProblem(QString::fromStdString(r.error()));
    }
    showResult();
}

std::vector<std::pair<QString, QString>> BoundaryLayerWindow::numberRows() const {
    std::vector<std::pair<QString, QString>> rows;
    if (!result_) return rows;
    const orvek::ViscousResult& r = *result_;
    const QLocale locale;
    auto number = [&](double v, int decimals) { return plainNumber(v, decimals, locale); };
    rows.emplace_back("CL", number(r.CL, 4));
    rows.emplace_back("CD", number(r.CD, 5));
    rows.emplace_back("CDf", number(r.CDf, 5));
    rows.emplace_back("CDp", number(r.CDp, 5));
    rows.emplace_back("L/D", number(r.CL / r.CD, 1));
    for (const orvek::LayerSide* side : {&r.upper, &r.lower}) {
        const QString name = side == &r.upper ? "upper" : "lower";
        QString transition = xText(side->transition, locale);
        if (side->tripped) transition += " (trip)";
        else if (side->transition >= 1) transition += " (laminar to the trailing edge)";
        rows.emplace_back(QString("Transition x/c, %1").arg(name), transition);
    }
    for (const orvek::LayerSide* side : {&r.upper, &r.lower}) {
        const QString name = side == &r.upper ? "upper" : "lower";
        rows.emplace_back(QString("Separation x/c, %1").arg(name),
                          side->separation ? xText(*side->separation, locale) : QString("none"));
    }
    if (r.compressible) {
        const orvek::CompressibleResult& c = *r.compressible;
        rows.emplace_back(QString("CL at Mach %1").arg(locale.toString(c.M, 'g', 6)), number(c.CL, 4));
        rows.emplace_back("Critical Mach number", number(c.criticalMach, 3));
    }
    return rows;
}

QString BoundaryLayerWindow::numbersText() const {
    QString text;
    for (const auto& [name, value] : numberRows()) text += name + '\t' + value + '\n';
    if (result_) {
        for (const orvek::ViscousFlag& f : result_->flags) text += QString::fromStdString(f.sentence) + '\n';
    }
    return text;
}

void BoundaryLayerWindow::showResult() {
    QStringList names, values;
    for (const auto& [name, value] : numberRows()) {
        names << name;
        values << value;
    }
    numberNames_->setText(names.join('\n'));
    numbers_->setText(values.join('\n'));
    QStringList sentences;
    if (result_) {
        for (const orvek::ViscousFlag& f : result_->flags) sentences << QString::fromStdString(f.sentence);
    }
    flags_->setText(sentences.join('\n'));
    flags_->setVisible(!sentences.isEmpty());

    std::array<QVector<Chart::Curve>, ChartCount> curves;
    QVector<Chart::Mark> marks;
    if (result_) {
        const orvek::ViscousResult& r = *result_;
        using S = orvek::LayerStation;
        addSides(curves[EdgeSpeed], r, &S::Ue, QString());
        addStateKey(curves[EdgeSpeed]);
        addSides(curves[Thickness], r, &S::theta, QString::fromUtf8("θ"));
        addSides(curves[Thickness], r, &S::deltaStar, QString::fromUtf8("δ*"), true);
        addSides(curves[ShapeFactor], r, &S::H, QString());
        addSides(curves[Friction], r, &S::Cf, QString());
        addSides(curves[Amplification], r, &S::N, QString(), false, true);
        curves[Amplification].push_back(
            Chart::Curve{QString("Ncrit = %1").arg(QLocale().toString(r.Ncrit, 'g', 6)), QColor(0, 110, 0),
                         {QPointF(0, r.Ncrit), QPointF(1, r.Ncrit)}, false, Qt::DashDotLine});
        marks = layerMarks(r);
        // Cf is very large at the stagnation point, where the edge speed vanishes: the scale is
        // that of the rest of the chord, and the leading edge's peak runs off the top.
        double lo = 0, hi = 0;
        for (const orvek::LayerSide* side : {&r.upper, &r.lower}) {
            for (const orvek::LayerStation& s : side->stations) {
                if (s.x < 0.05) continue;
                lo = std::min(lo, s.Cf);
                hi = std::max(hi, s.Cf);
            }
        }
        charts_[Friction]->setYRange(lo, hi > lo ? hi + 0.15 * (hi - lo) : lo + 0.01);
    }
    const QString caption =
        result_ ? QString::fromUtf8("%1, Re = %2").arg(caseName_->text(), plainNumber(input_.Re, 0)) : QString();
    for (int k = 0; k < ChartCount; ++k) {
        Chart* c = charts_[static_cast<std::size_t>(k)];
        c->setCaption(k == 0 ? caption : QString());
        c->setCurves(std::move(curves[static_cast<std::size_t>(k)]), marks);
    }
    for (QPushButton* b : resultButtons_) b->setEnabled(result_.has_value());
}

void BoundaryLayerWindow::copyNumbers() {
    if (result_) QApplication::clipboard()->setText(numbersText());
}

QSize BoundaryLayerWindow::pictureSize() const {
    const QSize one = charts_[0]->size().expandedTo(QSize(480, 240));
    return QSize(one.width(), one.height() * ChartCount);
}

void BoundaryLayerWindow::copyPicture() {
    if (!result_) return;
    const QSize size = pictureSize();
    ::copyPicture(PictureRequest{chartsPaint({charts_.begin(), charts_.end()}, size), size, 2.0 * devicePixelRatioF(),
                                 {}, {}});
}

void BoundaryLayerWindow::savePicture() {
    if (!result_) return;
    const QSize size = pictureSize();
    ::savePicture(this, *files_, messages_,
                  PictureRequest{chartsPaint({charts_.begin(), charts_.end()}, size), size, 2.0 * devicePixelRatioF(),
                                 "boundary-layer", "Boundary layer"});
}

void BoundaryLayerWindow::exportStations() {
    if (!result_) return;
    const std::optional<FileNameAsker::Choice> choice =
        files_->askSaveFile(this, QString::fromUtf8("Export stations"), "stations.csv", {"CSV file (*.csv)"});
    if (!choice || choice->path.isEmpty()) return;
    const orvek::Status saved = orvek::saveFile(
        choice->path.toStdString(), [this](orvek::TextOutput& out) { orvek::writeBoundaryLayerCsv(out, *result_); });
    if (!saved) messages_.show(this, QString::fromStdString(saved.error()), MessagePresenter::Kind::Warning);
}
