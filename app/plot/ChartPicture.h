#pragma once
// Pictures of charts for the clipboard and for files: one chart, or several stacked, at the size
// asked, as PNG, JPEG or SVG. The format follows the file name's extension.

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

// The charts stacked top to bottom on `size` logical pixels, each an equal share of the height.
QImage chartsImage(const std::vector<const Chart*>& charts, QSize size, double ratio);

// The bytes of a picture of `size` logical pixels that `paint` draws: an SVG document named
// `title` with the drawing as paths, or a PNG or JPEG image of `ratio` device pixels per logical
// one. `paint` gets the painter and the ratio to draw for (2 for SVG: half-pixel detail).
QByteArray pictureBytes(QSize size, double ratio, PictureFormat format, const QString& title,
                        const std::function<void(QPainter&, double ratio)>& paint);

// The charts' picture's bytes in `format`; `title` names an SVG document.
QByteArray chartsPicture(const std::vector<const Chart*>& charts, QSize size, double ratio, PictureFormat format,
                         const QString& title);
