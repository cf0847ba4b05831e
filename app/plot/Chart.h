#pragma once
// The chart of the polar and explorer windows and of the pictures that leave the program: curves
// inside labelled axes with ticks and a grid. The main window's two plots keep their own plain look.

#include "plot/Axes.h"

#include <QColor>
#include <QPointF>
#include <QVector>
#include <QWidget>

// A plot with labelled axes, tick values and a grid. Curves are open polylines in data units (a
// point that is not finite breaks the line), each on the left axis or on a right axis of its own
// scale; named curves are listed in a legend. Marks are vertical lines at a given x with a
// caption. With `equalAspect` one unit has the same length on both axes (for airfoil profiles).
// A caption, when set, is a line above the plot (pictures name the airfoil and angle there).
// Long curves are thinned to the pixel columns of the device painted on. A curve's line may be
// dashed or dotted (stretches of one quantity told apart); a legend below the plot then shows a
// short piece of each named curve's line before its name, clear of the curves and marks. Without
// it the legend goes to the corner of the plot where it covers the fewest curve points. Markers
// are labelled dots at a point (a transition on a profile). A curve that does not `fit` is drawn
// without widening the ranges (streamlines filling whatever the other curves leave in view). A
// curve may carry filled or hollow dots at its points (left out where the points are too many for
// the width). There are as many tick values as have room.
class Chart : public QWidget {
    Q_OBJECT
public:
    enum class Dots { None, Filled, Hollow };
    struct Curve {
        QString name;
        QColor colour;
        QVector<QPointF> points;
        bool rightAxis = false;
        Qt::PenStyle style = Qt::SolidLine;  // Qt::NoPen: dots alone
        bool fit = true;                     // the ranges take this curve in
        Dots dots = Dots::None;
    };
    struct Mark {
        double x = 0;
        QString caption;
        QColor colour;
    };
    struct Marker {
        QPointF at;
        QString label;
        QColor colour;
        bool labelBelow = false;  // the label under the dot (else above it)
    };

    explicit Chart(QWidget* parent = nullptr);

    void setAxisTitles(const QString& x, const QString& y, const QString& right = QString());
    void setCaption(const QString& caption);
    const QString& caption() const { return caption_; }
    void setEqualAspect(bool equal);
    // The legend goes below the x axis, in rows, each name after a short piece of its curve's line
    // (colour and style).
    void setLegendLines(bool lines);
    // Fixes the range of the left axis instead of fitting it to the curves (what lies beyond is
    // cut off at the plot's edge).
    void setYRange(double lo, double hi);
    // Fixes the x range instead of fitting it to the curves.
    void setXRange(double lo, double hi);
    // Replaces the curves and marks and repaints.
    void setCurves(QVector<Curve> curves, QVector<Mark> marks = {});
    const QVector<Curve>& curves() const { return curves_; }
    const QVector<Mark>& marks() const { return marks_; }
    // Replaces the markers (setCurves keeps them) and repaints.
    void setMarkers(QVector<Marker> markers);
    const QVector<Marker>& markers() const { return markers_; }
    // The data the plot's area shows at the widget's size: x from left to right, y from bottom to top.
    QRectF shownRange() const;
    // Where the legend lies inside the plot, in logical pixels of the widget (empty without named
    // curves, or with the legend below the plot).
    QRectF legendRect() const;

    QSize sizeHint() const override { return QSize(420, 260); }
    QSize minimumSizeHint() const override { return QSize(200, 120); }

    // Paints the chart into `painter` on a rectangle of `size` logical pixels, the curves thinned
    // to `ratio` columns per logical pixel (the widget paints itself with it).
    void paint(QPainter& painter, const QSize& size, double ratio = 1.0) const;

    // Where the curves are drawn and where the legend's entries below the plot stand, for a chart
    // of `size`.
    QRectF plotArea(const QSize& size) const;
    QVector<QRectF> legendEntries(const QSize& size) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Layout {
        axes::Range x, y, right;
        bool hasRight = false;
        QRectF area;
        QVector<QVector<int>> legendRows;  // indices of named curves, row by row, below the plot
    };
    Layout layout(const QSize& size, const QFontMetricsF& metrics) const;
    double legendEntryWidth(const Curve& c, const QFontMetricsF& metrics) const;
    // The legend's box in the corner of `l.area` it covers the fewest curve points in.
    QRectF legendBox(const Layout& l, const QFontMetricsF& metrics) const;

    QString xTitle_, yTitle_, rightTitle_, caption_;
    bool equalAspect_ = false;
    bool legendLines_ = false;
    bool fixedX_ = false;
    double xLo_ = 0, xHi_ = 1;
    bool fixedY_ = false;
    double yLo_ = 0, yHi_ = 1;
    QVector<Curve> curves_;
    QVector<Mark> marks_;
    QVector<Marker> markers_;
};
