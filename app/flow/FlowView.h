#pragma once
// Which part of a plane a flow view shows: the plane point at the middle of the view and the
// plane's length per logical pixel, the same along both axes (the flow is drawn true to scale).
// Pixels count from the top left; the plane's y points up.

#include <QPointF>
#include <QRectF>
#include <QSizeF>

struct FlowView {
    QPointF centre{0.5, 0};
    double scale = 0.005;  // plane units per logical pixel

    // The view that shows `box` whole, centred, in a view of `size`.
    static FlowView fitting(const QRectF& box, QSizeF size);

    QPointF toPlane(QPointF pixel, QSizeF size) const;
    QPointF toPixel(QPointF plane, QSizeF size) const;
    // The plane rectangle shown: left and right are x0 and x1, top and bottom are y0 and y1.
    QRectF extent(QSizeF size) const;

    // Enlarges by `factor` (below 1 shrinks) keeping the plane point under `pixel` where it is;
    // the scale stays between a millionth of a chord and a quarter chord per pixel, the middle
    // within 5e4 chords of the airfoil.
    void zoomAbout(QPointF pixel, QSizeF size, double factor);
    // Moves the picture by `pixels` (the plane follows the pointer of a drag).
    void panBy(QPointF pixels);
};
