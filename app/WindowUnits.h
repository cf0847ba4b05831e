#pragma once
// Units and colours of the windows' design. Positions are designed in twips (1/1440 inch); 15
// twips make one logical pixel, so the layout scales with the screen's device-pixel ratio like
// everything else Qt draws.

#include <QColor>
#include <QRect>
#include <QtMath>

// &H00C0FFFF&: the light yellow of the plot areas and the About window.
inline const QColor LightYellow(255, 255, 192);

inline int twips(int t) { return qRound(t / 15.0); }
inline QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twips(left), twips(top), twips(width), twips(height));
}
