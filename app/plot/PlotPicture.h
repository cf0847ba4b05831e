#pragma once
// Pictures of a plot area for the clipboard and for files: the background, the kept segments
// thinned to the picture's resolution (joined into one path per stroke), and the captions laid
// over the area.

#include <QByteArray>
#include <QImage>

class PlotArea;
class QPainter;

// Paints the plot at its logical size; the segments are thinned to `ratio` columns per logical
// pixel, the resolution of the device painted on.
void paintPlotPicture(QPainter& painter, const PlotArea& plot, double ratio);

// The plot as an image of `ratio` device pixels per logical pixel (its device-pixel ratio set).
QImage plotImage(const PlotArea& plot, double ratio);

// The plot as an SVG document of its logical size, the curves as thinned paths.
QByteArray plotSvg(const PlotArea& plot, const QString& title);

// An image as PNG bytes.
QByteArray pngBytes(const QImage& image);
