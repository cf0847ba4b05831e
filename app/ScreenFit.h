#pragma once
// The secondary windows fit the screen they open on: their contents scroll when the window is
// smaller than they would like, and they open no larger than the screen's available area.

#include <QSize>

class QWidget;

// Makes `content` the window's only child, inside a scroll area that fills it.
void placeInScrollArea(QWidget& window, QWidget* content);

// Resizes the window to `wanted` logical pixels, or less where the available area of its screen
// (less room for the window frame) is smaller.
void resizeWithinScreen(QWidget& window, QSize wanted);
