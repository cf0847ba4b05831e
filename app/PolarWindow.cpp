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

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// The angles the core accepts, and the point counts.
constexpr double LeastAngle = -orvek::MaxAngleDegrees, LargestAngle = orvek::MaxAngleDegrees;
constexpr double LeastPoints = 2, MostPoints = orvek::MaxPoints;

NumberBox* angleBox(const QString& what, double value, const char* name) {
    auto* box = new NumberBox(what, LeastAngle, LargestAngle, 2, QString::fromUtf8("°"));
    box->setObjectName(name);
    box->setSingleStep(0.5);
    box->setValue(value);
    return box;
}

const QStringList Columns = {QString::fromUtf8("α (°)"), "CL", "CMc/4", "CpMin", "x/c of CpMin", "surface"};

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

    auto* range = new QHBoxLayout;
    auto add = [&](const QString& caption, QWidget* w) {
        auto* l = new QLabel(caption);
        l->setBuddy(w);
        range->addWidget(l);
        range->addWidget(w);
    };
    add(QString::fromUtf8("&From α"), from_);
    add("&to", to_);
    add("&step", step_);
    add("&NP", np_);
    range->addStretch(1);

    airfoilName_ = new QLabel;
    airfoilName_->setObjectName("polarAirfoil");
    airfoilName_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    problem_ = new QLabel;
    problem_->setObjectName("polarProblem");
    problem_->setStyleSheet("color: #b00000");
    problem_->setWordWrap(true);
    problem_->hide();

    chart_ = new Chart;
    chart_->setObjectName("polarChart");
    chart_->setAxisTitles(QString::fromUtf8("α (°)"), "CL", "CMc/4");
    chart_->setContextMenuPolicy(Qt::CustomContextMenu);
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
    connect(chart_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { chartMenu_->popup(chart_->mapToGlobal(at)); });

    table_ = new QTableWidget(0, static_cast<int>(Columns.size()));
    table_->setObjectName("polarTable");
    table_->setHorizontalHeaderLabels(Columns);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    saveButton_ = new QPushButton(QString::fromUtf8("Save as CSV…"));
    saveButton_->setObjectName("polarSaveCsv");
    copyButton_ = new QPushButton("Copy");
    copyButton_->setObjectName("polarCopy");
    connect(saveButton_, &QPushButton::clicked, this, [this] { handle([this] { saveCsv(); }); });
    connect(copyButton_, &QPushButton::clicked, this, [this] { handle([this] { copy(); }); });
    keepButton_ = new QPushButton("&Keep for comparison");
    keepButton_->setObjectName("polarKeep");
    keepButton_->setToolTip("Pins the CL and CMc/4 curves as fainter lines, up to four");
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

    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(chart_);
    splitter->addWidget(table_);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->addWidget(airfoilName_);
    layout->addLayout(range);
    layout->addWidget(problem_);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);
    placeInScrollArea(*this, content);
    resizeWithinScreen(*this, QSize(760, 560));

    for (NumberBox* box : {from_, to_, step_, np_}) {
        connect(box, &NumberBox::valueChanged, this, [this] { handle([this] { recalculate(); }); });
    }
}

void PolarWindow::handle(const std::function<void()>& handler) { runHandler(this, messages_, handler); }

QString PolarWindow::problem() const { return problem_->text(); }

void PolarWindow::setAirfoil(const orvek::Airfoil& airfoil) {
    airfoil_ = airfoil;
    const QString name = QString::fromStdString(airfoil.name());
    airfoilName_->setText(name);
    setWindowTitle(QString::fromUtf8("Polar – ") + name);
    recalculate();
}

void PolarWindow::showProblem(const QString& reason) {
    rows_.clear();
    problem_->setText(reason);
    problem_->show();
}

void PolarWindow::recalculate() {
    problem_->clear();
    problem_->hide();
    std::optional<QString> outOfRange;
    for (NumberBox* box : {from_, to_, step_, np_}) {
        if (!outOfRange) outOfRange = box->rangeProblem();
    }
    if (outOfRange) {
        showProblem(*outOfRange);
    } else {
        orvek::SweepInput in;
        in.airfoil = airfoil_;
        in.fromDegrees = from_->value();
        in.toDegrees = to_->value();
        in.stepDegrees = step_->value();
        in.N1 = np_->value();
        orvek::Expected<std::vector<orvek::SweepRow>> rows = orvek::sweep(in);
        if (rows) rows_ = std::move(*rows);
        else showProblem(QString::fromStdString(rows.error()));
    }
    showRows();
}

void PolarWindow::showRows() {
    const QLocale locale;
    QVector<QPointF> cl, cm;
    cl.reserve(static_cast<qsizetype>(rows_.size()));
    cm.reserve(static_cast<qsizetype>(rows_.size()));
    table_->setUpdatesEnabled(false);
    table_->setRowCount(static_cast<int>(rows_.size()));
    auto cell = [&](int row, int column, const QString& text) {
        QTableWidgetItem* item = table_->item(row, column);
        if (!item) {
            item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(row, column, item);
        }
        item->setText(text);
    };
    for (std::size_t k = 0; k < rows_.size(); ++k) {
        const orvek::SweepRow& r = rows_[k];
        const int row = static_cast<int>(k);
        cl.push_back(QPointF(r.alphaDegrees, r.coefficients.CL));
        cm.push_back(QPointF(r.alphaDegrees, r.coefficients.CMc4));
        cell(row, 0, plainNumber(r.alphaDegrees, 2, locale));
        cell(row, 1, plainNumber(r.coefficients.CL, 4, locale));
        cell(row, 2, plainNumber(r.coefficients.CMc4, 4, locale));
        cell(row, 3, plainNumber(r.CpMin, 4, locale));
        cell(row, 4, plainNumber(r.xCpMin, 4, locale));
        cell(row, 5, orvek::surfaceName(r.surface));
    }
    table_->setUpdatesEnabled(true);

    QVector<Chart::Mark> marks;
    if (!rows_.empty()) {
        const double alfa0 = rows_.front().coefficients.Alfa0;
        marks.push_back(
            Chart::Mark{alfa0, QString::fromUtf8("α0 = %1°").arg(plainNumber(alfa0, 2, locale)), QColor(0, 110, 0)});
    }
    current_ = {Chart::Curve{"CL", QColor(200, 20, 20), cl, false},
                Chart::Curve{"CMc/4 (right)", QColor(20, 60, 200), cm, true}};
    chart_->setCurves(comparison_.withCurrent(0, rows_.empty() ? QVector<Chart::Curve>() : current_), marks);
    chart_->setCaption(rows_.empty() ? QString() : QString::fromStdString(airfoil_.name()));
    // Nothing to save or copy while the range cannot be calculated.
    saveButton_->setEnabled(!rows_.empty());
    copyButton_->setEnabled(!rows_.empty());
    keepButton_->setEnabled(!rows_.empty());
}

void PolarWindow::saveCsv() {
    if (rows_.empty()) return;
    const std::optional<FileNameAsker::Choice> choice =
        files_->askSaveFile(this, QString::fromUtf8("Save polar as CSV"), "polar.csv", {"CSV file (*.csv)"});
    if (!choice || choice->path.isEmpty()) return;
    const orvek::Status saved = orvek::saveFile(choice->path.toStdString(), [this](orvek::TextOutput& out) {
        orvek::PolarCsvWriter csv(out);
        for (const orvek::SweepRow& r : rows_) csv.row(r);
    });
    if (!saved) messages_.show(this, QString::fromStdString(saved.error()), MessagePresenter::Kind::Warning);
}

void PolarWindow::copy() {
    if (rows_.empty()) return;
    QString text = Columns.join('\t') + '\n';
    for (int row = 0; row < table_->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table_->columnCount(); ++column) cells << table_->item(row, column)->text();
        text += cells.join('\t') + '\n';
    }
    QApplication::clipboard()->setText(text);
}

void PolarWindow::copyPicture() {
    if (rows_.empty()) return;
    ::copyPicture(PictureRequest{chartsPaint({chart_}, chart_->size()), chart_->size(), 2.0 * devicePixelRatioF(), {}, {}});
}

void PolarWindow::savePicture() {
    if (rows_.empty()) return;
    ::savePicture(this, *files_, messages_,
                  PictureRequest{chartsPaint({chart_}, chart_->size()), chart_->size(), 2.0 * devicePixelRatioF(),
                                 "polar", "Polar"});
}

void PolarWindow::keepForComparison() {
    if (rows_.empty()) return;
    comparison_.keep(QString::fromStdString(airfoil_.name()), {current_});
    showRows();
}

void PolarWindow::clearComparison() {
    comparison_.clear();
    showRows();
}
