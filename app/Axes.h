#pragma once
// Axes for the plots of the polar and explorer windows: tick steps of 1, 2 or 5 times a power of
// ten, tick labels in the user's locale, and a small chart widget that draws curves inside
// labelled axes with ticks and a grid. The main window's two plots keep their own plain look.

#include <QColor>
#include <QLocale>
#include <QPointF>
#include <QString>
#include <QVector>
#include <QWidget>

#include <vector>

namespace axes {

// The tick step for `span` so that about `target` intervals fit: 1, 2 or 5 times a power of ten.
// A span that is zero or not finite gives 1.
double niceStep(double span, int target = 5);

// The multiples of `step` from lo to hi inclusive (a rounding tolerance of a millionth of a step).
std::vector<double> ticks(double lo, double hi, double step);

// The range [lo, hi] widened outwards to whole multiples of its nice step; an empty range (lo ==
// hi) is widened around its value.
struct Range {
    double lo = 0, hi = 1, step = 1;
};
Range niceRange(double lo, double hi, int target = 5);

// A tick value as text in `locale`, with as many decimals as the step needs ("0,25" in German);
// no "-0".
QString tickLabel(double value, double step, const QLocale& locale = QLocale());

}  // namespace axes

// A plot with labelled axes, tick values and a grid. Curves are open polylines in data units;
// marks are vertical lines at a given x with a caption. With `equalAspect` one unit has the same
// length on both axes (for airfoil profiles).
class Chart : public QWidget {
    Q_OBJECT
public:
    struct Curve {
        QString name;
        QColor colour;
        QVector<QPointF> points;
    };
    struct Mark {
        double x = 0;
        QString caption;
        QColor colour;
    };

    explicit Chart(QWidget* parent = nullptr);

    void setAxisTitles(const QString& x, const QString& y);
    void setEqualAspect(bool equal);
    // Fixes the x range instead of fitting it to the curves.
    void setXRange(double lo, double hi);
    // Replaces the curves and marks and repaints.
    void setCurves(QVector<Curve> curves, QVector<Mark> marks = {});
    const QVector<Curve>& curves() const { return curves_; }
    const QVector<Mark>& marks() const { return marks_; }

    QSize sizeHint() const override { return QSize(420, 260); }
    QSize minimumSizeHint() const override { return QSize(200, 120); }

    // Paints the chart into `painter` on a rectangle of `size` (the widget paints itself with it).
    void paint(QPainter& painter, const QSize& size) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Layout {
        axes::Range x, y;
        QRectF area;
    };
    Layout layout(const QSize& size, const QFontMetricsF& metrics) const;

    QString xTitle_, yTitle_;
    bool equalAspect_ = false;
    bool fixedX_ = false;
    double xLo_ = 0, xHi_ = 1;
    QVector<Curve> curves_;
    QVector<Mark> marks_;
};
