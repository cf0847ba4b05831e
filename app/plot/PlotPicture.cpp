#include "plot/PlotPicture.h"

#include "plot/PlotArea.h"

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

    // The strokes of the screen, thinned to the picture's resolution and drawn back at logical size.
    for (const PlotStroke& stroke : plot.strokes(size, ratio)) {
        if (stroke.points.isEmpty()) continue;
        QPainterPath path(stroke.points.front() / ratio);
        for (qsizetype k = 1; k < stroke.points.size(); ++k) path.lineTo(stroke.points[k] / ratio);
        QPen pen(QColor::fromRgb(stroke.colour));
        pen.setWidthF(1.0);
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
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
