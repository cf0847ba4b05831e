#include "plot/ChartPicture.h"

#include "plot/Chart.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPainter>
#include <QSvgGenerator>

void paintCharts(QPainter& painter, const std::vector<const Chart*>& charts, QSize size, double ratio) {
    if (charts.empty()) return;
    const int share = size.height() / static_cast<int>(charts.size());
    for (std::size_t k = 0; k < charts.size(); ++k) {
        painter.save();
        painter.translate(0, share * static_cast<int>(k));
        charts[k]->paint(painter, QSize(size.width(), share), ratio);
        painter.restore();
    }
}

QStringList pictureFilters() { return {"PNG image (*.png)", "SVG drawing (*.svg)", "JPEG image (*.jpg *.jpeg)"}; }

std::optional<PictureFormat> pictureFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == "png") return PictureFormat::Png;
    if (suffix == "svg") return PictureFormat::Svg;
    if (suffix == "jpg" || suffix == "jpeg") return PictureFormat::Jpeg;
    return std::nullopt;
}

QImage pictureImage(QSize size, double ratio, const std::function<void(QPainter&, double ratio)>& paint) {
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter, ratio);
    painter.end();
    return image;
}

QByteArray pictureBytes(QSize size, double ratio, PictureFormat format, const QString& title,
                        const std::function<void(QPainter&, double ratio)>& paint) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (format == PictureFormat::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(title);
        svg.setResolution(96);
        QPainter painter(&svg);
        paint(painter, 2.0);
        painter.end();
    } else {
        pictureImage(size, ratio, paint).save(&buffer, format == PictureFormat::Png ? "PNG" : "JPEG");
    }
    return bytes;
}
