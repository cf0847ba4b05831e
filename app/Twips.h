#pragma once
// The window is designed in twips (1/1440 inch); 15 twips make one logical pixel, so the layout
// scales with the screen's device-pixel ratio like everything else Qt draws.

#include <QRect>
#include <QtMath>

inline int twips(int t) { return qRound(t / 15.0); }
inline QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twips(left), twips(top), twips(width), twips(height));
}
