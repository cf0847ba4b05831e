#include "flow/FlowCanvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

// Zoom per wheel notch and per key press; the arrow keys move a tenth of the view.
constexpr double ZoomStep = 1.25, PanShare = 0.1;
// The colour grid on the screen: at most this many points, so a redraw stays within a frame.
constexpr double MostColourPoints = 260000;
// The preview drawn while the picture is computed: a colour point per this many of the
// picture's along each axis, its lines and outline refined this many times coarser.
constexpr double PreviewCoarseness = 3;

}  // namespace

FlowCanvas::FlowCanvas(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
}

void FlowCanvas::setField(const std::optional<orvek::FlowField>& field) {
    field_ = field;
    // A new airfoil moves its circle: a plane still shown whole is fitted to it anew.
    for (std::size_t k = 0; k < views_.size(); ++k) {
        if (whole_[k]) views_[k].reset();
    }
    changed();
}

void FlowCanvas::setLayers(const FlowLayers& layers) {
    layers_ = layers;
    changed();
}

void FlowCanvas::setOverlay(const LayerOverlay& overlay) {
    overlay_ = overlay;
    changed();
}

void FlowCanvas::setPlane(orvek::StreamPlane plane) {
    plane_ = plane;
    changed();
}

FlowView FlowCanvas::wholeView() const {
    if (plane_ == orvek::StreamPlane::Circle && field_) {
        const double R = field_->radius();
        const orvek::FlowPoint c = field_->centre();
        return FlowView::fitting(QRectF(c.x - 2.2 * R, c.y - 1.6 * R, 4.4 * R, 3.2 * R), size());
    }
    return FlowView::fitting(QRectF(-0.6, -0.55, 2.2, 1.1), size());
}

FlowView& FlowCanvas::currentView() const {
    std::optional<FlowView>& v = views_[plane_ == orvek::StreamPlane::Airfoil ? 0 : 1];
    if (!v) v = wholeView();
    return *v;
}

const FlowView& FlowCanvas::view() const { return currentView(); }

FlowView& FlowCanvas::movedView() {
    whole_[plane_ == orvek::StreamPlane::Airfoil ? 0 : 1] = false;
    return currentView();
}

void FlowCanvas::showWhole() {
    whole_[plane_ == orvek::StreamPlane::Airfoil ? 0 : 1] = true;
    currentView() = wholeView();
    changed();
}

void FlowCanvas::changed() {
    stale_ = true;
    ++change_;
    update();
}

FlowScene FlowCanvas::scene(double density) const {
    FlowScene s;
    s.plane = plane_;
    s.view = currentView();
    s.size = size();
    s.layers = layers_;
    s.density = density;
    s.overlay = overlay_;
    return s;
}

double FlowCanvas::screenDensity() const {
    const double pixels = static_cast<double>(width()) * height();
    double density = std::min(devicePixelRatioF(), std::sqrt(MostColourPoints / std::max(1.0, pixels)));
    // The circle plane maps each point to the airfoil plane first, one at a time: a coarser grid.
    if (plane_ == orvek::StreamPlane::Circle) density *= 0.5;
    return density;
}

const FlowPicture& FlowCanvas::picture() const {
    if (stale_ && field_ && !takeRefinement()) {
        picture_.compute(*field_, scene(screenDensity()));
        stale_ = false;
    }
    return picture_;
}

bool FlowCanvas::takeRefinement() const {
    if (!refinement_ || refinement_->change != change_) return false;
    picture_ = refinement_->picture.get();
    refinement_.reset();
    stale_ = false;
    return true;
}

void FlowCanvas::startRefinement() {
    if (refinement_ || !stale_ || !field_) return;
    // The thread works on copies: the flow is a handful of numbers, the scene a few more.
    refinement_ = Refinement{change_, std::async(std::launch::async, [this, field = *field_,
                                                                      scene = scene(screenDensity())] {
                                 FlowPicture picture;
                                 picture.compute(field, scene);
                                 QMetaObject::invokeMethod(this, &FlowCanvas::refined, Qt::QueuedConnection);
                                 return picture;
                             })};
}

void FlowCanvas::refined() {
    // picture() may have taken it already, or the canvas moved on to another view meanwhile.
    if (!refinement_ || refinement_->picture.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return;
    if (refinement_->change == change_) {
        takeRefinement();
        update();
        return;
    }
    refinement_.reset();
    startRefinement();  // the latest view, whose preview is on the screen
}

FlowPicture FlowCanvas::pictureAt(double density) const {
    FlowPicture p;
    if (field_) p.compute(*field_, scene(density));
    return p;
}

void FlowCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!field_) {
        painter.fillRect(rect(), palette().color(QPalette::Window));
        return;
    }
    if (stale_ && previewOf_ != change_) {
        FlowScene coarse = scene(screenDensity() / PreviewCoarseness);
        coarse.coarseness = PreviewCoarseness;
        preview_.compute(*field_, coarse);
        previewOf_ = change_;
    }
    (stale_ ? preview_ : picture_).paint(painter);
    if (stale_) startRefinement();
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
}

void FlowCanvas::resizeEvent(QResizeEvent*) {
    for (std::size_t k = 0; k < views_.size(); ++k) {
        if (whole_[k]) views_[k].reset();
    }
    changed();
}

void FlowCanvas::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0) return;
    FlowView& v = movedView();
    const FlowView before = v;
    v.zoomAbout(event->position(), size(), std::pow(ZoomStep, notches));
    // At the zoom's limit a notch changes nothing and draws nothing; the notches that do come
    // faster than frames share one redraw (update() queues a single paint).
    if (v.scale != before.scale || v.centre != before.centre) changed();
    event->accept();
}

void FlowCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragFrom_ = event->position();
        setCursor(Qt::ClosedHandCursor);
    }
    QWidget::mousePressEvent(event);
}

void FlowCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (dragFrom_ && (event->buttons() & Qt::LeftButton)) {
        movedView().panBy(event->position() - *dragFrom_);
        dragFrom_ = event->position();
        changed();
    }
    emit pointerAt(currentView().toPlane(event->position(), size()));
}

void FlowCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && dragFrom_) {
        movedView().panBy(event->position() - *dragFrom_);
        dragFrom_.reset();
        setCursor(Qt::CrossCursor);
        changed();
    }
    QWidget::mouseReleaseEvent(event);
}

void FlowCanvas::leaveEvent(QEvent*) { emit pointerLeft(); }

void FlowCanvas::keyPressEvent(QKeyEvent* event) {
    const QPointF middle(0.5 * width(), 0.5 * height());
    const double dx = PanShare * width(), dy = PanShare * height();
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal: movedView().zoomAbout(middle, size(), ZoomStep); break;
    case Qt::Key_Minus: movedView().zoomAbout(middle, size(), 1 / ZoomStep); break;
    // An arrow looks further that way: the picture moves the other way.
    case Qt::Key_Left: movedView().panBy(QPointF(dx, 0)); break;
    case Qt::Key_Right: movedView().panBy(QPointF(-dx, 0)); break;
    case Qt::Key_Up: movedView().panBy(QPointF(0, dy)); break;
    case Qt::Key_Down: movedView().panBy(QPointF(0, -dy)); break;
    case Qt::Key_Home: showWhole(); return;
    default: QWidget::keyPressEvent(event); return;
    }
    changed();
    event->accept();
}
