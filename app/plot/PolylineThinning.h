#pragma once
// Thinning of long polylines for drawing: consecutive vertices that fall into the same device
// pixel column are reduced to the first, lowest, highest and last of them, in their order along
// the line. The drawn picture is the same to the eye, since every column still spans the same
// vertical range and joins its neighbours at the same points.

#include <QPointF>
#include <QVector>

// Takes the vertices of one polyline in order (device pixels; columns are whole pixels of x) and
// keeps what the thinning keeps, without storing the rest.
class PolylineThinner {
public:
    void add(const QPointF& p);
    // The thinned polyline; the thinner starts afresh afterwards.
    QVector<QPointF> finish();

private:
    void flushColumn();

    QVector<QPointF> out_;
    bool open_ = false;  // a column is being collected
    double column_ = 0;
    QPointF first_, low_, high_, last_;
    int lowOrder_ = 0, highOrder_ = 0, count_ = 0;  // order of arrival within the column
};

QVector<QPointF> thinPolyline(const QVector<QPointF>& points);
