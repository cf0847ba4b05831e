#pragma once
// "Copy picture" and "Save picture as…" of every picture that leaves the program: the charts drawn
// for a report (axes with ticks and numbers, titles, legend, caption) and the flow window's view,
// at the size asked. The file name's extension decides the format: PNG, SVG or JPEG; a name
// without one gets the chosen filter's, any other is refused with a sentence.

#include <QSize>
#include <QString>

#include <functional>
#include <vector>

class Chart;
class FileNameAsker;
class MessagePresenter;
class QPainter;
class QWidget;

// Draws the picture on its size in logical pixels, for `ratio` device pixels per logical one (2 in
// an SVG drawing: half-pixel detail).
using PicturePaint = std::function<void(QPainter& painter, double ratio)>;

struct PictureRequest {
    PicturePaint paint;
    QSize size;             // logical pixels
    double ratio = 2;       // device pixels per logical pixel of an image
    QString suggestedName;  // without extension
    QString title;          // of an SVG document
};

// What most pictures paint: charts stacked top to bottom on `size`, each an equal share of the
// height. The charts must outlive the request.
PicturePaint chartsPaint(std::vector<const Chart*> charts, QSize size);

// The picture as an image on the clipboard.
void copyPicture(const PictureRequest& picture);

// Asks for a file name and saves the picture there whole, or says why not.
void savePicture(QWidget* parent, FileNameAsker& files, MessagePresenter& messages, const PictureRequest& picture);
