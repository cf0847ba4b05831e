#pragma once
// A drawing area for the plots: clear it, set a user coordinate system by its corners, draw
// straight segments. What was drawn is kept as data (segments in user coordinates), so the area
// repaints itself whenever it is exposed and stays sharp at any device-pixel ratio. Horizontal
// and vertical segments (the axes) are drawn on whole pixels, one pixel wide per logical pixel,
// so they show crisp in their exact colour; the curves are antialiased. While the area has the
// keyboard focus a dotted frame runs just inside its edge.

#include <QColor>
#include <QPointF>
#include <QVector>
#include <QWidget>

#include <vector>

// The dotted focus frame: the near-black of the axes.
inline constexpr QRgb FocusFrameColour = 0xFF111111;

struct PlotScale {
    double x1 = 0, y1 = 0, x2 = 1, y2 = 1;  // left, top, right, bottom edges in user units
};

struct PlotSegment {
    float x1, y1, x2, y2;
    QRgb colour;
};

// A polyline of one colour in device pixels, thinned to what the pixel columns can show.
struct PlotStroke {
    QRgb colour;
    QVector<QPointF> points;
};

class PlotArea : public QWidget {
    Q_OBJECT
public:
    PlotArea(const QColor& background, QWidget* parent = nullptr);

    // Erases the area to its background and forgets everything drawn.
    void clear();
    // User coordinates: left edge x1, top edge y1, right edge x2, bottom edge y2 (y1 > y2 makes
    // y point up). Applies to the segments drawn after it.
    void setScale(double x1, double y1, double x2, double y2);
    // A straight segment in user coordinates, solid and one pixel wide.
    void line(float x1, float y1, float x2, float y2, QRgb colour);

    // What is drawn, for tests: each scale with (a copy of) the segments drawn under it.
    struct Batch {
        PlotScale scale;
        std::vector<PlotSegment> segments;
    };
    std::vector<Batch> batches() const;
    std::size_t segmentCount() const { return segments_.size(); }

    // The one drawing path of the screen and of pictures: consecutive segments of one colour that
    // meet end to start are joined into strokes, mapped to the device pixels of an area of `size`
    // logical pixels at `ratio` device pixels each, and thinned as they stream by.
    std::vector<PlotStroke> strokes(QSize size, double ratio) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void changed();

    struct ScaleMark {
        PlotScale scale;
        std::size_t firstSegment;
    };
    // All segments in drawing order, and where each scale begins; clearing keeps the memory, so
    // redrawing a large case does not ask the system for it again.
    std::vector<PlotSegment> segments_;
    std::vector<ScaleMark> scales_;
    std::vector<PlotStroke> strokes_;  // cache for the current size and pixel ratio
    QSize strokesSize_;
    double strokesRatio_ = 0;
    bool strokesValid_ = true;  // nothing drawn yet: the empty stroke list is up to date
};
