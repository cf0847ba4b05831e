// SPDX-License-Identifier: MIT
// Renders the program's SVG icon to a square PNG of the given size, for the icon theme's
// fixed-size folders. Usage: orvek-render-icon ICON.svg SIZE OUT.png

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[]) {
    // Rendering needs no screen: the offscreen platform serves on a build machine without one.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: orvek-render-icon ICON.svg SIZE OUT.png\n");
        return 2;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    bool sizeIsNumber = false;
    const int size = QString::fromLocal8Bit(argv[2]).toInt(&sizeIsNumber);
    if (!svg.isValid() || !sizeIsNumber || size < 1) {
        std::fprintf(stderr, "orvek-render-icon: cannot render %s at size %s\n", argv[1], argv[2]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "orvek-render-icon: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
