#include "PolarWindow.h"

#include "FileNameAsker.h"
#include "Handler.h"
#include "MessagePresenter.h"
#include "NumberBox.h"
#include "PictureFile.h"
#include "ScreenFit.h"
#include "export/PolarTable.h"
#include "export/SaveFile.h"
#include "plot/Chart.h"
#include "WindowAction.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <thread>

// One sweep being calculated, on the window's thread when it is short and on a thread of its own
// when it is long. The window reads `done` for the progress bar while it runs, and the rows and
// the status once `finished` is set (or after joining the thread).
struct PolarRun {
    orvek::SweepInput input;
    std::size_t count = 0;  // the sweep's angles
    std::atomic<bool> stop{false};
    std::atomic<bool> finished{false};
    std::atomic<std::size_t> done{0};
    std::vector<orvek::SweepRow> rows;
    orvek::Status status;
    std::thread thread;

    void calculate() {
        input.stop = [this] { return stop.load(std::memory_order_relaxed); };
        rows.reserve(count);
        status = orvek::sweepRows(input, [this](const orvek::SweepRow& row, std::size_t index, std::size_t) {
            rows.push_back(row);
            done.store(index + 1, std::memory_order_relaxed);
        });
        finished.store(true, std::memory_order_release);
    }
};

// The table's rows drawn from the window's rows only when shown, so a sweep of 100,001 angles
// costs no more to show than one of fifty.
class PolarTableModel : public QAbstractTableModel {
public:
    struct Column {
        QString title;
        std::function<QString(std::size_t row)> text;
    };

    void reset(QVector<Column> columns, std::size_t rows) {
        beginResetModel();
        columns_ = std::move(columns);
        rows_ = rows;
        endResetModel();
    }
    QStringList titles() const {
        QStringList out;
        for (const Column& c : columns_) out << c.title;
        return out;
    }
    QString text(int row, int column) const {
        return columns_[column].text(static_cast<std::size_t>(row));
    }

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : static_cast<int>(rows_); }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(columns_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return {};
        if (role == Qt::DisplayRole) return text(index.row(), index.column());
        if (role == Qt::TextAlignmentRole) return QVariant(static_cast<int>(Qt::AlignRight | Qt::AlignVCenter));
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < columns_.size()) {
            return columns_[section].title;
        }
        return QAbstractTableModel::headerData(section, orientation, role);
    }

private:
    QVector<Column> columns_;
    std::size_t rows_ = 0;
};

namespace {

// The angles the core accepts, and the point counts.
constexpr double LeastAngle = -orvek::MaxAngleDegrees, LargestAngle = orvek::MaxAngleDegrees;
constexpr double LeastPoints = 2, MostPoints = orvek::MaxPoints;
// An angle box keeps this many decimals and shows as many of them as the value has.
constexpr int AngleDecimals = 10;

// A sweep is calculated at once on the window's thread while its work, counted in surface points
// of all its angles (the layer's estimate at an angle about as much as 20,000 of them), stays
// below AtOnce: some tens of milliseconds. A longer one runs on its own thread.
constexpr double LayerWork = 20000, AtOnce = 2e6;

// How often the progress bar follows a sweep on its thread.
constexpr int PollMilliseconds = 40;

const QColor LiftColour(200, 20, 20), MomentColour(20, 60, 200), CompressibleColour(220, 120, 0),
    DragColour(120, 40, 160), RatioColour(0, 120, 60), ZeroLiftColour(0, 110, 0);

NumberBox* angleBox(const QString& what, double value, const char* name) {
    auto* box = new NumberBox(what, LeastAngle, LargestAngle, 2, QString::fromUtf8("°"));
    box->setObjectName(name);
    box->setMostDecimals(AngleDecimals);
    box->setSingleStep(0.5);
    box->setValue(value);
    return box;
}

// The points of a curve split in two: those before the first separation (solid, filled markers)
// and those past it (dashed, hollow markers), the latter joined to the former where they meet.
// A point that is not finite breaks each line where the other curve takes over.
std::pair<QVector<QPointF>, QVector<QPointF>> splitAtSeparation(const QVector<QPointF>& points,
                                                                 const std::vector<bool>& past) {
    const QPointF gap(std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN());
    QVector<QPointF> attached, separated;
    const auto n = static_cast<std::size_t>(points.size());
    bool attachedBroken = false, separatedBroken = false;
    for (std::size_t k = 0; k < n; ++k) {
        const bool nearPast = past[k] || (k > 0 && past[k - 1]) || (k + 1 < n && past[k + 1]);
        if (!past[k]) {
            attached.push_back(points[static_cast<qsizetype>(k)]);
            attachedBroken = false;
        } else if (!attachedBroken && !attached.isEmpty()) {
            attached.push_back(gap);
            attachedBroken = true;
        }
        if (nearPast) {
            separated.push_back(points[static_cast<qsizetype>(k)]);
            separatedBroken = false;
        } else if (!separatedBroken && !separated.isEmpty()) {
            separated.push_back(gap);
            separatedBroken = true;
        }
    }
    return {attached, separated};
}

// A curve of the drag polar's charts: before the first separation, then past it.
QVector<Chart::Curve> separatedCurves(const QString& name, const QColor& colour, const QVector<QPointF>& points,
                                      const std::vector<bool>& past) {
    auto [attached, separated] = splitAtSeparation(points, past);
    QVector<Chart::Curve> out = {
        Chart::Curve{name, colour, std::move(attached), false, Qt::SolidLine, true, Chart::Dots::Filled}};
    if (!separated.isEmpty()) {
        out.push_back(Chart::Curve{"past the first separation", colour, std::move(separated), false, Qt::DashLine,
                                   true, Chart::Dots::Hollow});
    }
    return out;
}

}  // namespace

PolarWindow::PolarWindow(MessagePresenter& messages, FileNameAsker& files) : messages_(messages), files_(&files) {
    setObjectName("PolarWindow");
    setWindowTitle("Polar");
    setAttribute(Qt::WA_QuitOnClose, false);  // the program ends with the main window

    from_ = angleBox("the first angle", -10, "polarFrom");
    to_ = angleBox("the last angle", 15, "polarTo");
    step_ = angleBox("the step", 0.5, "polarStep");
    np_ = new NumberBox("the number of points", LeastPoints, MostPoints, 0);
    np_->setObjectName("polarNP");
    np_->setValue(201);
    np_->setToolTip("Number of surface points for the pressure minimum");
    re_ = new NumberBox("the Reynolds number", orvek::MinReynolds, orvek::MaxReynolds, 0);
    re_->setObjectName("polarRe");
    re_->setOptional(true);
    re_->setValue(re_->minimum());  // empty: inviscid
    re_->setSingleStep(1e5);
    re_->sayRefusals(messages_, "1e6 or 1000000");
    re_->setEmptyText("inviscid");
    re_->setToolTip("Reynolds number of the chord, as 1e6 or 1000000; empty for the inviscid polar alone");
    ncrit_ = new NumberBox("Ncrit", orvek::MinNcrit, orvek::MaxNcrit, 0);
    ncrit_->setObjectName("polarNcrit");
    ncrit_->setMostDecimals(3);
    ncrit_->setValue(orvek::DefaultNcrit);
    ncrit_->setToolTip("Critical amplification exponent of the transition (9: a quiet wind tunnel)");
    mach_ = new NumberBox("the Mach number", 0, 0.999, 0);
    mach_->setObjectName("polarMach");
    mach_->setMostDecimals(3);
    mach_->setSingleStep(0.05);
    mach_->setToolTip("Free-stream Mach number for the compressible CL and the critical Mach number; 0 for none");

    auto* boxes = new QGridLayout;
    int column = 0;
    auto add = [&](int row, const QString& caption, QWidget* w) {
        auto* l = new QLabel(caption);
        l->setBuddy(w);
        boxes->addWidget(l, row, column++, Qt::AlignRight);
        boxes->addWidget(w, row, column++);
    };
    add(0, QString::fromUtf8("&From α"), from_);
    add(0, "&to", to_);
    add(0, "&step", step_);
    add(0, "&NP", np_);
    column = 0;
    add(1, "R&e", re_);
    add(1, "N&crit", ncrit_);
    add(1, "&Mach", mach_);
    boxes->setColumnStretch(column + 2, 1);

    problem_ = new QLabel;
    problem_->setObjectName("polarProblem");
    problem_->setStyleSheet("color: #b00000");
    problem_->setWordWrap(true);
    problem_->hide();

    progress_ = new QProgressBar;
    progress_->setObjectName("polarProgress");
    progressText_ = new QLabel;
    progressText_->setObjectName("polarProgressText");
    cancelButton_ = new QPushButton("Cancel");
    cancelButton_->setObjectName("polarCancel");
    cancelButton_->setToolTip("Stops the sweep; the angles calculated so far are shown (Esc)");
    connect(cancelButton_, &QPushButton::clicked, this, [this] { handle([this] { cancel(); }); });
    addWindowAction(*this, nullptr, "Cancel", QKeySequence(Qt::Key_Escape), "polarCancelAction",
                    [this] { handle([this] { cancel(); }); });
    progressRow_ = new QWidget;
    auto* progressLayout = new QHBoxLayout(progressRow_);
    progressLayout->setContentsMargins(0, 0, 0, 0);
    progressLayout->addWidget(progress_, 1);
    progressLayout->addWidget(progressText_);
    progressLayout->addWidget(cancelButton_);
    progressRow_->hide();
    poll_ = new QTimer(this);
    poll_->setInterval(PollMilliseconds);
    connect(poll_, &QTimer::timeout, this, [this] { handle([this] { pollRun(); }); });

    chart_ = new Chart;
    chart_->setObjectName("polarChart");
    chart_->setAxisTitles(QString::fromUtf8("α (°)"), "CL", "CMc/4");
    dragChart_ = new Chart;
    dragChart_->setObjectName("polarDragChart");
    dragChart_->setAxisTitles("CD", "CL");
    ratioChart_ = new Chart;
    ratioChart_->setObjectName("polarRatioChart");
    ratioChart_->setAxisTitles(QString::fromUtf8("α (°)"), "L/D");
    dragChart_->hide();
    ratioChart_->hide();
    chartMenu_ = new QMenu(this);
    chartMenu_->setObjectName("polarChartMenu");
    auto pictureAction = [this](const QString& text, const QKeySequence& keys, const char* name,
                                void (PolarWindow::*slot)()) {
        addWindowAction(*this, chartMenu_, text, keys, name,
                        [this, slot] { handle([this, slot] { (this->*slot)(); }); });
    };
    pictureAction("Copy picture", QKeySequence("Ctrl+Shift+C"), "polarCopyPicture", &PolarWindow::copyPicture);
    pictureAction(QString::fromUtf8("Save picture as…"), QKeySequence("Ctrl+Shift+S"), "polarSavePicture",
                  &PolarWindow::savePicture);
    addWindowAction(*this, chartMenu_, QString::fromUtf8("Compare with a file…"), QKeySequence("Ctrl+Shift+O"),
                    "polarCompare", [this] { emit compareRequested(airfoil_, 0.0); });
    for (Chart* c : {chart_, dragChart_, ratioChart_}) {
        c->setLegendLines(true);  // the legend below the plot, clear of the curves
        c->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(c, &QWidget::customContextMenuRequested, this,
                [this, c](const QPoint& at) { chartMenu_->popup(c->mapToGlobal(at)); });
    }

    model_ = new PolarTableModel;
    model_->setParent(this);
    table_ = new QTableView;
    table_->setObjectName("polarTable");
    table_->setModel(model_);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->horizontalHeader()->setToolTip(
        "xtr: transition, x/c; separation: where the layer separates, x/c, or past the first separation");
    table_->setMinimumHeight(table_->verticalHeader()->defaultSectionSize() * 6);

    saveButton_ = new QPushButton(QString::fromUtf8("Save as CSV…"));
    saveButton_->setObjectName("polarSaveCsv");
    copyButton_ = new QPushButton("Copy");
    copyButton_->setObjectName("polarCopy");
    connect(saveButton_, &QPushButton::clicked, this, [this] { handle([this] { saveCsv(); }); });
    connect(copyButton_, &QPushButton::clicked, this, [this] { handle([this] { copy(); }); });
    keepButton_ = new QPushButton("&Keep for comparison");
    keepButton_->setObjectName("polarKeep");
    keepButton_->setToolTip("Pins the curves shown as fainter lines, up to four sets");
    clearButton_ = new QPushButton("Clea&r");
    clearButton_->setObjectName("polarClear");
    clearButton_->setToolTip("Removes the pinned curves");
    connect(keepButton_, &QPushButton::clicked, this, [this] { handle([this] { keepForComparison(); }); });
    connect(clearButton_, &QPushButton::clicked, this, [this] { handle([this] { clearComparison(); }); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(keepButton_);
    buttons->addWidget(clearButton_);
    buttons->addStretch(1);
    buttons->addWidget(copyButton_);
    buttons->addWidget(saveButton_);

    // The drag polar and L/D beside the lift and moment; the table below takes what the window
    // grows by as much as the charts do.
    auto* charts = new QSplitter(Qt::Horizontal);
    charts->setChildrenCollapsible(false);
    charts->addWidget(chart_);
    charts->addWidget(dragChart_);
    charts->addWidget(ratioChart_);
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(charts);
    splitter->addWidget(table_);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);

    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->addLayout(boxes);
    layout->addWidget(problem_);
    layout->addWidget(progressRow_);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);
    placeInScrollArea(*this, content);
    resizeWithinScreen(*this, QSize(900, 720));

    for (NumberBox* box : {from_, to_, step_, np_, re_, ncrit_, mach_}) {
        connect(box, &NumberBox::valueChanged, this, [this] { handle([this] { recalculate(); }); });
    }
}

PolarWindow::~PolarWindow() { stopRun(); }

void PolarWindow::handle(const std::function<void()>& handler) { runHandler(this, messages_, handler); }

QString PolarWindow::problem() const { return problem_->text(); }

bool PolarWindow::calculating() const { return run_ && run_->thread.joinable(); }

QString PolarWindow::progressText() const { return progressRow_->isHidden() ? QString() : progressText_->text(); }

void PolarWindow::setAirfoil(const orvek::Airfoil& airfoil) {
    airfoil_ = airfoil;
    setWindowTitle(QString::fromUtf8("Polar – ") + QString::fromStdString(airfoil.name()));
    recalculate();
}

void PolarWindow::showProblem(const QString& reason) {
    rows_.clear();
    problem_->setText(reason);
    problem_->show();
}

void PolarWindow::stopRun() {
    poll_->stop();
    if (run_ && run_->thread.joinable()) {
        run_->stop.store(true);
        run_->thread.join();
    }
    run_.reset();
    progressRow_->hide();
}

void PolarWindow::recalculate() {
    stopRun();  // a sweep of the inputs before goes unfinished
    problem_->clear();
    problem_->hide();
    const std::optional<double> Re = re_->number();
    ncrit_->setEnabled(Re.has_value());
    std::optional<QString> fault;
    for (NumberBox* box : {from_, to_, step_, np_, re_, ncrit_, mach_}) {
        if (!fault && (box != ncrit_ || Re)) fault = box->rangeProblem();
    }
    orvek::SweepInput in;
    in.airfoil = airfoil_;
    in.fromDegrees = from_->value();
    in.toDegrees = to_->value();
    in.stepDegrees = step_->value();
    in.N1 = np_->value();
    in.mach = mach_->value();
    if (Re) {
        orvek::ViscousInput layer;
        layer.Re = *Re;
        layer.Ncrit = ncrit_->value();
        in.viscous = layer;
    }
    const orvek::Expected<std::vector<double>> angles = orvek::sweepAngles(in.fromDegrees, in.toDegrees, in.stepDegrees);
    if (!fault && !angles) fault = QString::fromStdString(angles.error());
    if (fault) {
        showProblem(*fault);
        showRows();
        return;
    }
    alphaDecimals_ = std::max({2, decimalsOf(in.stepDegrees, AngleDecimals), decimalsOf(in.fromDegrees, AngleDecimals)});
    run_ = std::make_unique<PolarRun>();
    run_->input = in;
    run_->count = angles->size();
    const double work = static_cast<double>(angles->size()) * (in.N1 + (in.viscous ? LayerWork : 0.0));
    if (work <= AtOnce) {
        run_->calculate();
        finishRun();
        return;
    }
    // A long sweep: on its own thread, followed by the progress bar; the old rows go meanwhile.
    rows_.clear();
    showRows();
    progress_->setRange(0, static_cast<int>(run_->count));
    progress_->setValue(0);
    progress_->show();
    cancelButton_->show();
    progressText_->setText(QString("0 of %1 angles").arg(run_->count));
    progressRow_->show();
    run_->thread = std::thread([run = run_.get()] { run->calculate(); });
    poll_->start();
}

void PolarWindow::pollRun() {
    if (!run_) return;
    if (run_->finished.load(std::memory_order_acquire)) {
        run_->thread.join();
        finishRun();
        return;
    }
    const std::size_t done = run_->done.load(std::memory_order_relaxed);
    progress_->setValue(static_cast<int>(done));
    progressText_->setText(QString("%1 of %2 angles").arg(done).arg(run_->count));
}

void PolarWindow::cancel() {
    if (!calculating()) return;
    run_->stop.store(true);
    run_->thread.join();
    finishRun();
}

void PolarWindow::finishRun() {
    poll_->stop();
    const bool stopped = run_->stop.load();
    viscous_ = run_->input.viscous.has_value();
    compressible_ = run_->input.mach > 0;
    rows_ = std::move(run_->rows);
    if (stopped) {
        // The rows calculated before the Cancel stay; the line says how many of all there are.
        progress_->hide();
        cancelButton_->hide();
        progressText_->setText(QString("Cancelled after %1 of %2 angles; the table shows those.")
                                   .arg(rows_.size())
                                   .arg(run_->count));
        progressRow_->show();
    } else {
        progressRow_->hide();
        if (!run_->status) showProblem(QString::fromStdString(run_->status.error()));
    }
    run_.reset();
    showRows();
}

void PolarWindow::showRows() {
    const QLocale locale;
    // Past the first separation: from the zero-lift angle outwards, each side from the first
    // angle whose layer separates.
    pastSeparation_.assign(rows_.size(), false);
    if (viscous_ && !rows_.empty()) {
        const double alfa0 = rows_.front().coefficients.Alfa0;
        double up = std::numeric_limits<double>::infinity(), down = -up;
        for (const orvek::SweepRow& r : rows_) {
            if (!r.drag || (!r.drag->separationUpper && !r.drag->separationLower)) continue;
            if (r.alphaDegrees >= alfa0) up = std::min(up, r.alphaDegrees);
            else down = std::max(down, r.alphaDegrees);
        }
        for (std::size_t k = 0; k < rows_.size(); ++k) {
            pastSeparation_[k] = rows_[k].alphaDegrees >= up || rows_[k].alphaDegrees <= down;
        }
    }

    const auto n = static_cast<qsizetype>(rows_.size());
    QVector<QPointF> cl, cm, clCompressible, drag, ratio;
    cl.reserve(n);
    cm.reserve(n);
    for (const orvek::SweepRow& r : rows_) {
        const double alpha = r.alphaDegrees, CL = r.coefficients.CL;
        cl.push_back(QPointF(alpha, CL));
        cm.push_back(QPointF(alpha, r.coefficients.CMc4));
        if (r.compressible) clCompressible.push_back(QPointF(alpha, r.compressible->CL));
        if (r.drag) {
            drag.push_back(QPointF(r.drag->CD, CL));
            ratio.push_back(QPointF(alpha, CL / r.drag->CD));
        }
    }

    // The table: the inviscid columns, then the drag polar's, then the compressible ones.
    const std::vector<orvek::SweepRow>* rows = &rows_;
    auto number = [rows, locale](auto value, int decimals) {
        return [rows, locale, value, decimals](std::size_t k) {
            return plainNumber(value((*rows)[k]), decimals, locale);
        };
    };
    using Row = orvek::SweepRow;
    QVector<PolarTableModel::Column> columns = {
        {QString::fromUtf8("α (°)"), number([](const Row& r) { return r.alphaDegrees; }, alphaDecimals_)},
        {"CL", number([](const Row& r) { return r.coefficients.CL; }, 4)},
        {"CMc/4", number([](const Row& r) { return r.coefficients.CMc4; }, 4)},
        {"CpMin", number([](const Row& r) { return r.CpMin; }, 4)},
        {"x/c CpMin", number([](const Row& r) { return r.xCpMin; }, 4)},
        {"surface", [rows](std::size_t k) { return QString(orvek::surfaceName((*rows)[k].surface)); }},
    };
    if (viscous_) {
        columns += QVector<PolarTableModel::Column>{
            {"CD", number([](const Row& r) { return r.drag->CD; }, 5)},
            {"xtr upper", number([](const Row& r) { return r.drag->transitionUpper; }, 3)},
            {"xtr lower", number([](const Row& r) { return r.drag->transitionLower; }, 3)},
            {"L/D", number([](const Row& r) { return r.coefficients.CL / r.drag->CD; }, 1)},
            {"separation",
             [rows, past = &pastSeparation_, locale](std::size_t k) {
                 const orvek::SweepDrag& d = *(*rows)[k].drag;
                 QStringList sides;
                 if (d.separationUpper) sides << "upper at " + plainNumber(*d.separationUpper, 2, locale);
                 if (d.separationLower) sides << "lower at " + plainNumber(*d.separationLower, 2, locale);
                 if (!sides.isEmpty()) return sides.join(", ");
                 return (*past)[k] ? QString("past the first") : QString();
             }},
        };
    }
    if (compressible_) {
        columns += QVector<PolarTableModel::Column>{
            {QString("CL at M %1").arg(plainNumber(mach_->value(), decimalsOf(mach_->value(), 3), locale)),
             number([](const Row& r) { return r.compressible->CL; }, 4)},
            {"critical M", number([](const Row& r) { return r.compressible->criticalMach; }, 3)},
        };
    }
    model_->reset(std::move(columns), rows_.size());
    // Each column as wide as its title and its first and last rows need (not every row: a sweep
    // may have 100,001), the last taking what is left.
    const QFontMetrics metrics = table_->fontMetrics();
    for (int c = 0; c < model_->columnCount(QModelIndex()); ++c) {
        int width = metrics.horizontalAdvance(model_->titles()[c]);
        if (!rows_.empty()) {
            width = std::max({width, metrics.horizontalAdvance(model_->text(0, c)),
                              metrics.horizontalAdvance(model_->text(static_cast<int>(rows_.size()) - 1, c))});
        }
        table_->setColumnWidth(c, width + 18);
    }

    QVector<Chart::Mark> marks;
    if (!rows_.empty()) {
        const double alfa0 = rows_.front().coefficients.Alfa0;
        marks.push_back(
            Chart::Mark{alfa0, QString::fromUtf8("α0 = %1°").arg(plainNumber(alfa0, 2, locale)), ZeroLiftColour});
    }
    QVector<Chart::Curve> lift = {Chart::Curve{"CL", LiftColour, cl, false},
                                  Chart::Curve{"CMc/4 (right)", MomentColour, cm, true}};
    if (compressible_) {
        lift.push_back(Chart::Curve{
            QString("CL at M %1 (Karman-Tsien)").arg(plainNumber(mach_->value(), decimalsOf(mach_->value(), 3), locale)),
            CompressibleColour, clCompressible, false, Qt::DashLine});
    }
    current_ = {lift, QVector<Chart::Curve>(), QVector<Chart::Curve>()};
    if (viscous_) {
        current_[1] = separatedCurves("CL against CD", DragColour, drag, pastSeparation_);
        current_[2] = separatedCurves("L/D", RatioColour, ratio, pastSeparation_);
    }
    const bool any = !rows_.empty();
    chart_->setCurves(comparison_.withCurrent(0, any ? current_[0] : QVector<Chart::Curve>()), marks);
    dragChart_->setCurves(comparison_.withCurrent(1, any ? current_[1] : QVector<Chart::Curve>()));
    ratioChart_->setCurves(comparison_.withCurrent(2, any ? current_[2] : QVector<Chart::Curve>()));
    // The airfoil is named once, above the charts (and so in their pictures).
    chart_->setCaption(any ? QString::fromStdString(airfoil_.name()) : QString());
    dragChart_->setVisible(viscous_);
    ratioChart_->setVisible(viscous_);
    // Nothing to save or copy while the range cannot be calculated.
    saveButton_->setEnabled(any);
    copyButton_->setEnabled(any);
    keepButton_->setEnabled(any);
}

std::vector<const Chart*> PolarWindow::shownCharts() const {
    if (!viscous_) return {chart_};
    return {chart_, dragChart_, ratioChart_};
}

void PolarWindow::saveCsv() {
    if (rows_.empty()) return;
    const std::optional<FileNameAsker::Choice> choice =
        files_->askSaveFile(this, QString::fromUtf8("Save polar as CSV"), "polar.csv", {"CSV file (*.csv)"});
    if (!choice || choice->path.isEmpty()) return;
    // The columns of orvek-batch sweep, with --re those of the drag polar.
    const orvek::Status saved = orvek::saveFile(choice->path.toStdString(), [this](orvek::TextOutput& out) {
        orvek::PolarCsvWriter csv(out, viscous_);
        for (const orvek::SweepRow& r : rows_) csv.row(r);
    });
    if (!saved) messages_.show(this, QString::fromStdString(saved.error()), MessagePresenter::Kind::Warning);
}

void PolarWindow::copy() {
    if (rows_.empty()) return;
    QString text = model_->titles().join('\t') + '\n';
    const int columns = model_->columnCount(QModelIndex());
    for (int row = 0; row < model_->rowCount(QModelIndex()); ++row) {
        QStringList cells;
        for (int column = 0; column < columns; ++column) cells << model_->text(row, column);
        text += cells.join('\t') + '\n';
    }
    QApplication::clipboard()->setText(text);
}

namespace {

// The picture of the charts shown, stacked, each as large as the lift chart is on the screen.
PictureRequest polarPicture(const std::vector<const Chart*>& charts, double ratio, const QString& name,
                            const QString& title) {
    const QSize one = charts.front()->size();
    const QSize size(one.width(), one.height() * static_cast<int>(charts.size()));
    return PictureRequest{chartsPaint(charts, size), size, ratio, name, title};
}

}  // namespace

void PolarWindow::copyPicture() {
    if (rows_.empty()) return;
    ::copyPicture(polarPicture(shownCharts(), 2.0 * devicePixelRatioF(), {}, {}));
}

void PolarWindow::savePicture() {
    if (rows_.empty()) return;
    ::savePicture(this, *files_, messages_, polarPicture(shownCharts(), 2.0 * devicePixelRatioF(), "polar", "Polar"));
}

void PolarWindow::keepForComparison() {
    if (rows_.empty()) return;
    comparison_.keep(QString::fromStdString(airfoil_.name()), current_);
    showRows();
}

void PolarWindow::clearComparison() {
    comparison_.clear();
    showRows();
}
