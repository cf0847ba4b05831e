#pragma once
// Thinning of long polylines for drawing: consecutive vertices that fall into the same device
// pixel column are reduced to the first, lowest, highest and last of them, in their order along
// the line. The drawn picture is the same to the eye, since every column still spans the same
// vertical range and joins its neighbours at the same points.

#include <QPointF>
#include <QVector>

// `points` are in device pixels; columns are whole device pixels of x.
QVector<QPointF> thinPolyline(const QVector<QPointF>& points);
