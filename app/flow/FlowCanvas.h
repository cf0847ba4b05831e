#pragma once
// The flow window's drawing: one FlowPicture of the view, recomputed when the flow, the layers,
// the plane, the size or the view change. Zoom with the wheel (about the pointer) or + and -,
// pan by dragging or with the arrow keys, Home for the whole plane. Each plane keeps its own view.
// The plane point under the pointer is reported, for the window's status line.
//
// A change is drawn at once as a preview (a coarser colour grid, lines and outline refined less)
// while the picture is computed on a thread of its own; the picture replaces the preview when it
// is ready, unless the view has changed again meanwhile. Changes that come faster than the
// pictures (a turn of the wheel) share one: only the latest view is computed in full.

#include "flow/FlowPicture.h"
#include "solver/flow/FlowField.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <future>
#include <optional>

class FlowCanvas : public QWidget {
    Q_OBJECT
public:
    explicit FlowCanvas(QWidget* parent = nullptr);

    // The flow drawn; nothing (a blank view) when there is none.
    void setField(const std::optional<orvek::FlowField>& field);
    const orvek::FlowField* field() const { return field_ ? &*field_ : nullptr; }
    void setLayers(const FlowLayers& layers);
    // The viscous estimate drawn over the airfoil plane; empty: none.
    void setOverlay(const LayerOverlay& overlay);
    const LayerOverlay& overlay() const { return overlay_; }
    const FlowLayers& layers() const { return layers_; }
    void setPlane(orvek::StreamPlane plane);
    orvek::StreamPlane plane() const { return plane_; }
    // Shows the whole of the current plane: the airfoil with a chord's room around, or the circle.
    void showWhole();
    const FlowView& view() const;

    // The picture of the view as it is drawn once computed: waited for, or computed here, if
    // anything changed since.
    const FlowPicture& picture() const;
    // Whether the screen shows the picture; false while it shows a preview.
    bool showsPicture() const { return !stale_; }
    // The same view computed with `density` colour points per logical pixel (for pictures).
    FlowPicture pictureAt(double density) const;

    QSize sizeHint() const override { return {600, 400}; }
    QSize minimumSizeHint() const override { return {240, 160}; }

signals:
    // The pointer is over the plane point `at`, or has left the drawing.
    void pointerAt(QPointF at);
    void pointerLeft();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    FlowView& currentView() const;
    // The current plane's view, to be moved by the user.
    FlowView& movedView();
    FlowView wholeView() const;
    FlowScene scene(double density) const;
    // The colour points per logical pixel of the screen's picture.
    double screenDensity() const;
    void changed();
    // Computes the picture of the latest view off this thread, unless one is being computed.
    void startRefinement();
    // A picture computed off this thread is ready.
    void refined();
    // The picture being computed, when it is that of the latest view: waited for and taken.
    bool takeRefinement() const;

    std::optional<orvek::FlowField> field_;
    FlowLayers layers_;
    LayerOverlay overlay_;
    orvek::StreamPlane plane_ = orvek::StreamPlane::Airfoil;
    mutable std::array<std::optional<FlowView>, 2> views_;  // airfoil, circle: set when first shown
    std::array<bool, 2> whole_{true, true};                 // still the whole plane: refitted on a resize
    std::optional<QPointF> dragFrom_;
    mutable FlowPicture picture_;
    mutable bool stale_ = true;
    // Counts the changes; the preview and the picture being computed each know theirs.
    std::uint64_t change_ = 0;
    FlowPicture preview_;
    std::optional<std::uint64_t> previewOf_;
    struct Refinement {
        std::uint64_t change;
        std::future<FlowPicture> picture;
    };
    // Last: destroying its future waits for the computation, which still posts to the canvas.
    mutable std::optional<Refinement> refinement_;
};
