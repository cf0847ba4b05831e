#pragma once
// Pictures for the clipboard and for files, at the size asked, as PNG, JPEG or SVG: whatever a
// painter draws, charts stacked among them. The format follows the file name's extension.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class Chart;
class QPainter;

enum class PictureFormat { Png, Svg, Jpeg };

// The name filters of a save dialog, in the order of PictureFormat.
QStringList pictureFilters();

// The format a file name asks for by its extension (.png, .svg, .jpg or .jpeg, in any case);
// nothing for any other extension.
std::optional<PictureFormat> pictureFormatOf(const QString& path);

// Paints the charts stacked top to bottom on `size` logical pixels, each an equal share of the
// height, for `ratio` device pixels per logical one.
void paintCharts(QPainter& painter, const std::vector<const Chart*>& charts, QSize size, double ratio);

// An image of `size` logical pixels at `ratio` device pixels per logical one, white, that `paint`
// draws on with antialiasing.
QImage pictureImage(QSize size, double ratio, const std::function<void(QPainter&, double ratio)>& paint);

// The bytes of a picture of `size` logical pixels that `paint` draws: an SVG document named
// `title` with the drawing as paths, or a PNG or JPEG image as pictureImage makes it. `paint` gets
// the painter and the ratio to draw for (2 for SVG: half-pixel detail).
QByteArray pictureBytes(QSize size, double ratio, PictureFormat format, const QString& title,
                        const std::function<void(QPainter&, double ratio)>& paint);
