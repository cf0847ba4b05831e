#pragma once
// The secondary windows fit the screen they open on: their contents scroll when the window is
// smaller than they would like, they open no larger than the screen's available area, and they
// open within that area beside the windows already on show rather than on top of them.

#include <QList>
#include <QRect>
#include <QSize>

class QWidget;

// Makes `content` the window's only child, inside a scroll area that fills it.
void placeInScrollArea(QWidget& window, QWidget* content);

// Resizes the window to `wanted` logical pixels, or less where the available area of its screen
// (less room for the window frame) is smaller. When the window is first shown it is placed within
// the available area of its screen beside the windows on show (`placeBeside`), made smaller where
// its size does not fit there; later it opens where the user left it.
void resizeWithinScreen(QWidget& window, QSize wanted);

// The frame for a window that would like a frame of `wanted` within `area`, beside the frames
// `shown`: of the places at the area's corner and next to each shown frame, the one that covers
// least of them (the first such, reading from the top left). Where that place is a shown frame's
// own corner, it steps down and to the right, so that each window's title bar stays in sight. The
// frame lies within the area, made smaller where the area is.
QRect placeBeside(const QRect& area, QSize wanted, const QList<QRect>& shown);
