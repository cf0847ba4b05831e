#pragma once
// "Copy picture" and "Save picture as…" of every plot that leaves the program: the charts drawn
// for a report (axes with ticks and numbers, titles, legend, caption) at the size asked. The
// file name's extension decides the format: PNG, SVG or JPEG; a name without one gets the chosen
// filter's, any other is refused with a sentence.

#include <QSize>
#include <QString>

#include <vector>

class Chart;
class FileNameAsker;
class MessagePresenter;
class QWidget;

struct PictureRequest {
    std::vector<const Chart*> charts;  // stacked top to bottom
    QSize size;                        // logical pixels
    double ratio = 2;                  // device pixels per logical pixel of an image
    QString suggestedName;             // without extension
    QString title;                     // of an SVG document
};

// The picture as an image on the clipboard.
void copyPicture(const PictureRequest& picture);

// Asks for a file name and saves the picture there whole, or says why not.
void savePicture(QWidget* parent, FileNameAsker& files, MessagePresenter& messages, const PictureRequest& picture);
