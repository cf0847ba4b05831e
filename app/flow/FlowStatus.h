#pragma once
// The flow window's status line: the point under the pointer and the flow there, as text in the
// user's locale; empty inside the airfoil (or the circle).

#include "solver/flow/FlowField.h"
#include "solver/flow/Streamlines.h"

#include <QLocale>
#include <QPointF>
#include <QString>

// `at` is a point of the plane shown; `decimals` for its coordinates (finer at a deeper zoom).
// In the circle plane the point zeta is named with its image z in the airfoil plane, and the
// values are the airfoil's flow there, as the colours are.
QString flowStatus(const orvek::FlowField& field, orvek::StreamPlane plane, QPointF at, int decimals,
                   const QLocale& locale = QLocale());

// Decimals that tell neighbouring pixels apart at `scale` plane units per pixel.
int positionDecimals(double scale);
