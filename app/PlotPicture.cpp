#include "PlotPicture.h"

#include "PlotArea.h"
#include "PolylineThinning.h"

#include <QBuffer>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>

void paintPlotPicture(QPainter& painter, const PlotArea& plot, double ratio) {
    const QSize size = plot.size();
    painter.save();
    painter.fillRect(QRect(QPoint(0, 0), size), plot.palette().color(QPalette::Window));
    painter.setRenderHint(QPainter::Antialiasing);

    // Segments that join end to start in one colour form one stroke, as on screen; each stroke is
    // thinned in device pixels and drawn back at logical size.
    const double w = size.width() * ratio, h = size.height() * ratio;
    PolylineThinner thinner;
    for (const PlotArea::Batch& batch : plot.batches()) {
        const PlotScale& sc = batch.scale;
        const double sx = w / (sc.x2 - sc.x1), sy = h / (sc.y2 - sc.y1);
        auto map = [&](float x, float y) { return QPointF((x - sc.x1) * sx, (y - sc.y1) * sy); };
        auto drawStroke = [&](QRgb colour) {
            const QVector<QPointF> points = thinner.finish();
            if (points.isEmpty()) return;
            QPainterPath path(points.front() / ratio);
            for (qsizetype k = 1; k < points.size(); ++k) path.lineTo(points[k] / ratio);
            QPen pen(QColor::fromRgb(colour));
            pen.setWidthF(1.0);
            pen.setCapStyle(Qt::FlatCap);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(path);
        };
        const PlotSegment* previous = nullptr;
        for (const PlotSegment& s : batch.segments) {
            const bool continues =
                previous && previous->colour == s.colour && previous->x2 == s.x1 && previous->y2 == s.y1;
            if (!continues) {
                if (previous) drawStroke(previous->colour);
                thinner.add(map(s.x1, s.y1));
            }
            thinner.add(map(s.x2, s.y2));
            previous = &s;
        }
        if (previous) drawStroke(previous->colour);
    }
    painter.restore();

    // The captions laid over the area ("1-Cp", "x/c").
    for (QLabel* caption : plot.findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!caption->isVisibleTo(&plot)) continue;
        painter.save();
        caption->render(&painter, caption->pos());
        painter.restore();
    }
}

QImage plotImage(const PlotArea& plot, double ratio) {
    QImage image(plot.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(plot.palette().color(QPalette::Window));
    QPainter painter(&image);
    paintPlotPicture(painter, plot, ratio);
    painter.end();
    return image;
}

QByteArray plotSvg(const PlotArea& plot, const QString& title) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(plot.size());
    svg.setViewBox(QRect(QPoint(0, 0), plot.size()));
    svg.setTitle(title);
    svg.setResolution(96);
    QPainter painter(&svg);
    // Columns of half a pixel: finer than the screen, yet a million points stay a few thousand.
    paintPlotPicture(painter, plot, 2.0);
    painter.end();
    return bytes;
}

QByteArray pngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}
