#include "FlowWindow.h"

#include "FileNameAsker.h"
#include "Handler.h"
#include "MessagePresenter.h"
#include "NumberBox.h"
#include "PictureFile.h"
#include "ScreenFit.h"
#include "export/FlowGrid.h"
#include "export/SaveFile.h"
#include "export/VtkGrid.h"
#include "flow/FlowCanvas.h"
#include "flow/FlowStatus.h"
#include "flow/LayerPlaces.h"
#include "solver/ShortestText.h"
#include "WindowAction.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// The slider covers the angles of a lesson, in tenths of a degree; the box takes any the core does.
constexpr int SliderTenths = 200;
// The circulation by hand: tenths of the Kutta value, from -2 to 2 times it.
constexpr int CirculationTenths = 20;

const QStringList GridFilters = {"VTK grid (*.vtk)", "CSV table (*.csv)"};

// A picture of the view: the flow as drawn, with a caption line naming the airfoil and angle.
void paintWithCaption(QPainter& painter, const FlowPicture& picture, const QString& caption) {
    picture.paint(painter);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QRectF box(6, picture.scene().size.height() - metrics.height() - 8, metrics.horizontalAdvance(caption) + 12,
                     metrics.height() + 4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 215));
    painter.drawRoundedRect(box, 3, 3);
    painter.setPen(Qt::black);
    painter.drawText(box, Qt::AlignCenter, caption);
}

}  // namespace

FlowWindow::FlowWindow(MessagePresenter& messages, FileNameAsker& files) : messages_(messages), files_(&files) {
    setObjectName("FlowWindow");
    setWindowTitle("Flow field");
    setAttribute(Qt::WA_QuitOnClose, false);  // the program ends with the main window

    name_ = new QLabel;
    name_->setObjectName("flowAirfoil");
    name_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    alpha_ = new NumberBox("the angle of attack", -360, 360, 2, QString::fromUtf8("°"));
    alpha_->setObjectName("flowAlpha");
    alpha_->setAccessibleName("Angle of attack");
    alpha_->setSingleStep(0.5);
    slider_ = new QSlider(Qt::Horizontal);
    slider_->setObjectName("flowAlphaSlider");
    slider_->setAccessibleName("Angle of attack");
    slider_->setRange(-SliderTenths, SliderTenths);
    slider_->setPageStep(10);
    connect(slider_, &QSlider::valueChanged, this, [this](int tenths) {
        const QSignalBlocker block(alpha_);
        alpha_->setValue(tenths / 10.0);
        handle([this] { recalculate(); });
    });
    connect(alpha_, &NumberBox::valueChanged, this, [this](double degrees) {
        const QSignalBlocker block(slider_);
        slider_->setValue(
            static_cast<int>(std::lround(std::clamp(degrees * 10, -1.0 * SliderTenths, 1.0 * SliderTenths))));
        handle([this] { recalculate(); });
    });
    auto* angleLabel = new QLabel(QString::fromUtf8("&Angle α"));
    angleLabel->setBuddy(alpha_);
    auto* whole = new QPushButton("&Whole view");
    whole->setObjectName("flowWholeView");
    whole->setToolTip("Back to the whole airfoil (Home in the drawing)");
    re_ = new NumberBox("the Reynolds number", orvek::MinReynolds, orvek::MaxReynolds, 0);
    re_->setObjectName("flowRe");
    re_->setOptional(true);
    re_->setValue(re_->minimum());  // empty: none
    re_->setAccessibleName("Reynolds number");
    re_->setToolTip("The Reynolds number of the chord (1e6 or 1000000): the displacement surface, transition "
                    "and separation drawn over the airfoil; empty: none");
    re_->setSingleStep(1e5);
    connect(re_, &NumberBox::valueChanged, this, [this] { handle([this] { recalculate(); }); });
    auto* reLabel = new QLabel("&Re");
    reLabel->setBuddy(re_);
    auto* angle = new QHBoxLayout;
    angle->addWidget(angleLabel);
    angle->addWidget(alpha_);
    angle->addWidget(slider_, 1);
    angle->addWidget(reLabel);
    angle->addWidget(re_);
    angle->addWidget(whole);

    colours_ = layerBox("C&olours (Cp)", "flowColours", true, "The pressure coefficient as colours, with its scale");
    streamlines_ =
        layerBox("&Streamlines", "flowStreamlines", true, "21 streamlines of the view; the dividing one in red");
    body_ = layerBox("Air&foil", "flowBody", true, "The airfoil (or the circle) filled");
    stagnation_ = layerBox("S&tagnation points", "flowStagnation", true, "The points where the flow stops");
    arrows_ = layerBox("&Velocity arrows", "flowArrows", false, "The velocity on a coarse grid");
    circle_ = layerBox("C&ircle plane", "flowCirclePlane", false,
                       "The flow about the generating circle, which the mapping turns into the airfoil's");
    fitScale_ = layerBox("Scale to &view", "flowFitScale", false,
                         "The colour scale over the range of Cp in view instead of fixed from -2 to 1");
    // Two rows of layers, so the window fits a screen of 1280 x 1000 pixels at scale 2.
    auto* layers = new QGridLayout;
    QWidget* const layerBoxes[] = {colours_, fitScale_, streamlines_, body_, stagnation_, arrows_, circle_};
    for (int k = 0; k < static_cast<int>(std::size(layerBoxes)); ++k) layers->addWidget(layerBoxes[k], k / 4, k % 4);
    layers->setColumnStretch(4, 1);

    kutta_ = new QCheckBox("&Kutta condition");
    kutta_->setObjectName("flowKutta");
    kutta_->setChecked(true);
    kutta_->setToolTip("The circulation that makes the flow leave the trailing edge smoothly; "
                       "clear it to set the circulation by hand");
    circulation_ = new QSlider(Qt::Horizontal);
    circulation_->setObjectName("flowCirculation");
    circulation_->setAccessibleName("Circulation, times the Kutta value");
    circulation_->setRange(-CirculationTenths, CirculationTenths);
    circulation_->setValue(10);
    circulation_->setPageStep(5);
    circulation_->setTickPosition(QSlider::TicksBelow);
    circulation_->setTickInterval(10);
    circulation_->setEnabled(false);
    circulation_->setMinimumWidth(160);
    circulation_->setToolTip(QString::fromUtf8("Γ from −2 to 2 times the Kutta value, 0 included"));
    connect(kutta_, &QCheckBox::toggled, this, [this](bool on) {
        circulation_->setEnabled(!on);
        handle([this] { recalculate(); });
    });
    connect(circulation_, &QSlider::valueChanged, this, [this] { handle([this] { recalculate(); }); });
    auto* circulationLabel = new QLabel(QString::fromUtf8("Circulation Γ:"));
    circulationLabel->setBuddy(circulation_);
    lift_ = new QLabel;
    lift_->setObjectName("flowLift");
    lift_->setAccessibleName("Circulation and lift");
    lift_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* circulationRow = new QHBoxLayout;
    circulationRow->addWidget(circulationLabel);
    circulationRow->addWidget(kutta_);
    circulationRow->addWidget(circulation_, 1);

    canvas_ = new FlowCanvas;
    canvas_->setObjectName("flowCanvas");
    canvas_->setAccessibleName("Flow field");
    canvas_->setAccessibleDescription(
        "The flow about the airfoil. Plus and minus zoom, the arrow keys pan, Home shows the whole airfoil.");
    canvas_->setContextMenuPolicy(Qt::CustomContextMenu);
    problem_ = new QLabel;
    problem_->setObjectName("flowProblem");
    problem_->setAlignment(Qt::AlignCenter);
    problem_->setWordWrap(true);
    problem_->setStyleSheet("color: #b00000; font-weight: bold");
    pages_ = new QStackedWidget;
    pages_->addWidget(canvas_);
    pages_->addWidget(problem_);

    status_ = new QLabel;
    status_->setObjectName("flowStatus");
    status_->setAccessibleName("Flow under the pointer");
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    status_->setMinimumWidth(100);
    status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->addWidget(name_);
    layout->addLayout(angle);
    layout->addLayout(layers);
    layout->addLayout(circulationRow);
    layout->addWidget(lift_);  // a line of its own, so the window fits a screen at scale 2
    layout->addWidget(pages_, 1);
    layout->addWidget(status_);
    placeInScrollArea(*this, content);
    resizeWithinScreen(*this, QSize(760, 600));

    connect(whole, &QPushButton::clicked, this, [this] { canvas_->showWhole(); });
    connect(canvas_, &FlowCanvas::pointerAt, this, [this](QPointF at) { showStatus(at); });
    connect(canvas_, &FlowCanvas::pointerLeft, this, [this] { showLift(); });

    menu_ = new QMenu(this);
    menu_->setObjectName("flowMenu");
    auto action = [this](const QString& text, const QKeySequence& keys, const char* name, void (FlowWindow::*slot)()) {
        addWindowAction(*this, menu_, text, keys, name, [this, slot] { handle([this, slot] { (this->*slot)(); }); });
    };
    action("Copy picture", QKeySequence("Ctrl+Shift+C"), "flowCopyPicture", &FlowWindow::copyPicture);
    action(QString::fromUtf8("Save picture as…"), QKeySequence("Ctrl+Shift+S"), "flowSavePicture",
           &FlowWindow::savePicture);
    menu_->addSeparator();
    action(QString::fromUtf8("Export grid…"), QKeySequence("Ctrl+Shift+G"), "flowExportGrid", &FlowWindow::exportGrid);
    connect(canvas_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { menu_->popup(canvas_->mapToGlobal(at)); });

    setTabOrder(alpha_, slider_);
    setTabOrder(slider_, re_);
    setTabOrder(re_, whole);
    setTabOrder(whole, colours_);
    setTabOrder(colours_, fitScale_);
    setTabOrder(fitScale_, streamlines_);
    setTabOrder(streamlines_, body_);
    setTabOrder(body_, stagnation_);
    setTabOrder(stagnation_, arrows_);
    setTabOrder(arrows_, circle_);
    setTabOrder(circle_, kutta_);
    setTabOrder(kutta_, circulation_);
    setTabOrder(circulation_, canvas_);

    setCase(airfoil_, 5);
}

void FlowWindow::handle(const std::function<void()>& handler) { runHandler(this, messages_, handler); }

QCheckBox* FlowWindow::layerBox(const QString& text, const char* name, bool on, const QString& tip) {
    auto* box = new QCheckBox(text);
    box->setObjectName(name);
    box->setChecked(on);
    box->setToolTip(tip);
    connect(box, &QCheckBox::toggled, this, [this] { handle([this] { layersChanged(); }); });
    return box;
}

double FlowWindow::alpha() const { return alpha_->value(); }

QString FlowWindow::liftText() const { return lift_->text(); }

std::optional<double> FlowWindow::circulation() const {
    const orvek::FlowField* field = canvas_->field();
    if (!field || field->kutta()) return std::nullopt;
    return field->circulation();
}
QString FlowWindow::status() const { return status_->text(); }
QString FlowWindow::problem() const { return pages_->currentIndex() == 1 ? problem_->text() : QString(); }

void FlowWindow::setCase(const orvek::Airfoil& airfoil, double alphaDegrees) {
    airfoil_ = airfoil;
    const QString name = QString::fromStdString(airfoil.name());
    name_->setText(name);
    setWindowTitle(QString::fromUtf8("Flow field – ") + name);
    {
        const QSignalBlocker block(alpha_);
        alpha_->setValue(alphaDegrees);
    }
    {
        const QSignalBlocker block(slider_);
        slider_->setValue(
            static_cast<int>(std::lround(std::clamp(alphaDegrees * 10, -1.0 * SliderTenths, 1.0 * SliderTenths))));
    }
    recalculate();
}

void FlowWindow::setReynolds(std::optional<double> Re) {
    if (Re) re_->setValue(*Re);
    else re_->setValue(re_->minimum());
}

void FlowWindow::recalculate() {
    status_->clear();
    std::optional<QString> reason = alpha_->rangeProblem();
    if (!reason) reason = re_->rangeProblem();
    std::optional<orvek::FlowField> field;
    if (!reason) {
        orvek::Expected<orvek::FlowField> made = orvek::FlowField::make(airfoil_, alpha_->value());
        if (made && !kutta_->isChecked()) {
            // a share of the Kutta value at this angle
            const double share = circulation_->value() / 10.0;
            made = orvek::FlowField::make(airfoil_, alpha_->value(), share * made->kuttaCirculation());
        }
        if (made) field = *made;
        else reason = QString::fromStdString(made.error());
    }
    for (QAction* a : actions()) a->setEnabled(!reason);
    if (reason) {
        problem_->setText(*reason);
        pages_->setCurrentIndex(1);
        canvas_->setField(std::nullopt);
        canvas_->setOverlay({});
        viscous_.reset();
        lift_->clear();
        return;
    }
    pages_->setCurrentIndex(0);
    canvas_->setField(field);
    estimate();
    showLift();
}

void FlowWindow::estimate() {
    viscous_.reset();
    viscousNote_.clear();
    LayerOverlay overlay;
    const std::optional<double> Re = re_->number();
    if (Re && !kutta_->isChecked()) {
        viscousNote_ = "The boundary layer is estimated under the Kutta condition only.";
    } else if (Re) {
        orvek::ViscousInput in;
        in.airfoil = airfoil_;
        in.alphaDegrees = alpha_->value();
        in.Re = *Re;
        orvek::Expected<orvek::ViscousResult> r = orvek::boundaryLayer(in);
        if (r) {
            viscous_ = std::move(*r);
            overlay.displacement = {displacementSurface(viscous_->upper), displacementSurface(viscous_->lower)};
            overlay.separatedFrom = {firstSeparatedStation(viscous_->upper), firstSeparatedStation(viscous_->lower)};
            overlay.places = layerPlaces(*viscous_);
            QStringList sentences;
            for (const orvek::ViscousFlag& flag : viscous_->flags) sentences << QString::fromStdString(flag.sentence);
            viscousNote_ = sentences.join(' ');
        } else {
            viscousNote_ = QString::fromStdString(r.error());
        }
    }
    canvas_->setOverlay(overlay);
}

void FlowWindow::showLift() {
    const orvek::FlowField* field = canvas_->field();
    if (!field) {
        lift_->clear();
        return;
    }
    const double gamma = field->circulation();
    QString how;
    if (field->kutta()) {
        how = QString::fromUtf8("the Kutta condition");
    } else {
        how = QString::fromUtf8("%1 × the Kutta value %2")
                  .arg(plainNumber(circulation_->value() / 10.0, 1), plainNumber(field->kuttaCirculation(), 4));
    }
    QString text =
        QString::fromUtf8("Γ = %1   CL = 2Γ/(V c) = %2").arg(plainNumber(gamma, 4), plainNumber(2.0 * gamma, 4));
    if (viscous_) {
        text += QString("   CD = %1").arg(plainNumber(viscous_->CD, 5));
        if (viscous_->CD > 0) text += QString("   L/D = %1").arg(plainNumber(2.0 * gamma / viscous_->CD, 1));
    }
    lift_->setText(text);
    lift_->setToolTip(how);
    status_->setText(lift_->text() + "   (" + how + ")" + (viscousNote_.isEmpty() ? QString() : "   " + viscousNote_));
    status_->setToolTip(viscousNote_);
}

void FlowWindow::layersChanged() {
    FlowLayers l;
    l.colours = colours_->isChecked();
    l.streamlines = streamlines_->isChecked();
    l.body = body_->isChecked();
    l.stagnation = stagnation_->isChecked();
    l.arrows = arrows_->isChecked();
    l.fitScale = fitScale_->isChecked();
    canvas_->setLayers(l);
    canvas_->setPlane(circle_->isChecked() ? orvek::StreamPlane::Circle : orvek::StreamPlane::Airfoil);
    showLift();
}

void FlowWindow::showStatus(QPointF at) {
    const orvek::FlowField* field = canvas_->field();
    status_->setText(field ? flowStatus(*field, canvas_->plane(), at, positionDecimals(canvas_->view().scale))
                           : QString());
}

namespace {

QString captionOf(const orvek::Airfoil& airfoil, double alpha, bool circle, std::optional<double> circulation) {
    return QString::fromUtf8("%1, α = %2°%3%4")
        .arg(QString::fromStdString(airfoil.name()), plainNumber(alpha, 2),
             circulation ? QString::fromUtf8(", Γ = %1 (CL %2)").arg(plainNumber(*circulation, 4),
                                                                   plainNumber(2 * *circulation, 4))
                         : QString(),
             circle ? QString::fromUtf8(", circle plane") : QString());
}

}  // namespace

PictureRequest FlowWindow::pictureRequest() const {
    const QString caption =
        captionOf(airfoil_, alpha(), canvas_->plane() == orvek::StreamPlane::Circle, circulation());
    const double ratio = 2.0 * devicePixelRatioF();
    // The view computed for the image's ratio when it is painted (after the file name is asked);
    // in SVG the lines are paths and the colour field an embedded image at that ratio.
    const FlowCanvas* canvas = canvas_;
    return PictureRequest{[canvas, ratio, caption](QPainter& painter, double) {
                              paintWithCaption(painter, canvas->pictureAt(ratio), caption);
                          },
                          canvas_->size().expandedTo(QSize(1, 1)), ratio, "flow", caption};
}

void FlowWindow::copyPicture() {
    if (canvas_->field()) ::copyPicture(pictureRequest());
}

void FlowWindow::savePicture() {
    if (canvas_->field()) ::savePicture(this, *files_, messages_, pictureRequest());
}

void FlowWindow::exportGrid() {
    const orvek::FlowField* field = canvas_->field();
    if (!field) return;
    const std::optional<FileNameAsker::Choice> choice =
        files_->askSaveFile(this, QString::fromUtf8("Export grid"), "flow.vtk", GridFilters);
    if (!choice || choice->path.isEmpty()) return;
    QString path = choice->path;
    if (QFileInfo(path).suffix().isEmpty()) path += "." + filterExtension(GridFilters.value(choice->filter));
    const bool csv = QFileInfo(path).suffix().toLower() == "csv";

    // The grid of the view in the airfoil plane, a point per pixel of the drawing (in the circle
    // plane: the image of the view's centre region is no grid, so the airfoil plane's view is taken).
    const QSize pixels = canvas_->size().boundedTo(QSize(2000, 2000)).expandedTo(QSize(2, 2));
    FlowView view = canvas_->view();
    if (canvas_->plane() == orvek::StreamPlane::Circle) {
        view = FlowView::fitting(QRectF(-0.6, -0.55, 2.2, 1.1), pixels);
    }
    const QRectF e = view.extent(pixels);
    const orvek::GridShape shape =
        orvek::GridShape::spanning(e.left(), e.right(), static_cast<std::size_t>(pixels.width()), e.top(), e.bottom(),
                                   static_cast<std::size_t>(pixels.height()));
    std::string title = airfoil_.name() + " at " + orvek::shortestText(alpha()) + " degrees";
    if (!field->kutta()) title += ", circulation " + orvek::shortestText(field->circulation());
    const orvek::Status saved = orvek::saveFile(path.toStdString(), [&](orvek::TextOutput& out) {
        orvek::writeFlowGrid(out, *field, shape, csv ? orvek::FlowGridFormat::Csv : orvek::FlowGridFormat::Vtk, title);
    });
    if (!saved) messages_.show(this, QString::fromStdString(saved.error()), MessagePresenter::Kind::Warning);
}
