#include "PolarWindow.h"

#include "plot/Chart.h"
#include "FileNameAsker.h"
#include "MessagePresenter.h"
#include "export/AirfoilCoordinates.h"
#include "export/PolarTable.h"
#include "export/SaveFile.h"

#include <QApplication>
#include <QClipboard>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QDoubleSpinBox* angleBox(double value, double lo, double hi, const char* name) {
    auto* box = new QDoubleSpinBox;
    box->setObjectName(name);
    box->setRange(lo, hi);
    box->setDecimals(2);
    box->setSingleStep(0.5);
    box->setValue(value);
    box->setSuffix(QString::fromUtf8("°"));
    box->setKeyboardTracking(false);  // recalculate when a typed value is complete, not per key
    return box;
}

const QStringList Columns = {QString::fromUtf8("α (°)"), "CL", "CMc/4", "CpMin", "x/c of CpMin", "surface"};

}  // namespace

PolarWindow::PolarWindow(MessagePresenter& messages, FileNameAsker& files) : messages_(messages), files_(&files) {
    setObjectName("PolarWindow");
    setWindowTitle("Polar");
    resize(760, 560);

    from_ = angleBox(-10, -90, 90, "polarFrom");
    to_ = angleBox(15, -90, 90, "polarTo");
    step_ = angleBox(0.5, -45, 45, "polarStep");
    np_ = new QSpinBox;
    np_->setObjectName("polarNP");
    np_->setRange(3, 100001);
    np_->setValue(201);
    np_->setKeyboardTracking(false);
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

    airfoil_ = new QLabel;
    airfoil_->setObjectName("polarAirfoil");
    airfoil_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    problem_ = new QLabel;
    problem_->setObjectName("polarProblem");
    problem_->setStyleSheet("color: #b00000");
    problem_->setWordWrap(true);
    problem_->hide();

    chart_ = new Chart;
    chart_->setObjectName("polarChart");
    chart_->setAxisTitles(QString::fromUtf8("α (°)"), "CL, CMc/4");

    table_ = new QTableWidget(0, static_cast<int>(Columns.size()));
    table_->setObjectName("polarTable");
    table_->setHorizontalHeaderLabels(Columns);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    auto* saveButton = new QPushButton(QString::fromUtf8("Save as CSV…"));
    saveButton->setObjectName("polarSaveCsv");
    auto* copyButton = new QPushButton("Copy");
    copyButton->setObjectName("polarCopy");
    connect(saveButton, &QPushButton::clicked, this, &PolarWindow::saveCsv);
    connect(copyButton, &QPushButton::clicked, this, &PolarWindow::copy);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(copyButton);
    buttons->addWidget(saveButton);

    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(chart_);
    splitter->addWidget(table_);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(airfoil_);
    layout->addLayout(range);
    layout->addWidget(problem_);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);

    for (QDoubleSpinBox* box : {from_, to_, step_}) {
        connect(box, &QDoubleSpinBox::valueChanged, this, &PolarWindow::recalculate);
    }
    connect(np_, &QSpinBox::valueChanged, this, &PolarWindow::recalculate);
}

QString PolarWindow::problem() const { return problem_->text(); }

void PolarWindow::setAirfoil(const orvek::Airfoil& airfoil) {
    shown_ = airfoil;
    const QString name = QString::fromStdString(airfoil.name());
    airfoil_->setText(name);
    setWindowTitle(QString::fromUtf8("Polar – ") + name);
    recalculate();
}

void PolarWindow::recalculate() {
    orvek::SweepInput in;
    in.airfoil = shown_;
    in.from = from_->value();
    in.to = to_->value();
    in.step = step_->value();
    in.N1 = np_->value();
    orvek::Expected<std::vector<orvek::SweepRow>> rows = orvek::sweep(in);
    if (rows) {
        rows_ = std::move(*rows);
        problem_->clear();
        problem_->hide();
    } else {
        rows_.clear();
        problem_->setText(QString::fromStdString(rows.error()));
        problem_->show();
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
        cl.push_back(QPointF(r.alpha, r.coefficients.CL));
        cm.push_back(QPointF(r.alpha, r.coefficients.CMc4));
        cell(row, 0, locale.toString(r.alpha, 'f', 2));
        cell(row, 1, locale.toString(r.coefficients.CL, 'f', 4));
        cell(row, 2, locale.toString(r.coefficients.CMc4, 'f', 4));
        cell(row, 3, locale.toString(r.CpMin, 'f', 4));
        cell(row, 4, locale.toString(r.xCpMin, 'f', 4));
        cell(row, 5, orvek::surfaceName(r.surface));
    }
    table_->setUpdatesEnabled(true);

    QVector<Chart::Mark> marks;
    if (!rows_.empty()) {
        const double alfa0 = rows_.front().coefficients.Alfa0;
        marks.push_back(
            Chart::Mark{alfa0, QString::fromUtf8("α0 = %1°").arg(locale.toString(alfa0, 'f', 2)), QColor(0, 110, 0)});
    }
    chart_->setCurves({Chart::Curve{"CL", QColor(200, 20, 20), cl}, Chart::Curve{"CMc/4", QColor(20, 60, 200), cm}},
                      marks);
}

void PolarWindow::saveCsv() {
    if (rows_.empty()) return;
    const std::optional<FileNameAsker::Choice> choice =
        files_->askSaveFile(this, QString::fromUtf8("Save polar as CSV"), "polar.csv", {"CSV file (*.csv)"});
    if (!choice || choice->path.isEmpty()) return;
    const orvek::Status saved = orvek::saveFileAtomically(choice->path.toStdString(), orvek::polarCsv(rows_));
    if (!saved) messages_.show(this, QString::fromStdString(saved.error()), MessagePresenter::Kind::Warning);
}

void PolarWindow::copy() {
    QString text = Columns.join('\t') + '\n';
    for (int row = 0; row < table_->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table_->columnCount(); ++column) cells << table_->item(row, column)->text();
        text += cells.join('\t') + '\n';
    }
    QApplication::clipboard()->setText(text);
}
