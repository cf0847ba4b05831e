#pragma once
// Where the viscous estimate puts things on the airfoil, for the explorer's profile and the flow
// window: transition, a laminar bubble and separation as surface points with a short label, and
// the displacement surface (the airfoil thickened by the displacement thickness). Taken from the
// boundary layer's own stations, so the marks sit where the core's numbers say.

#include "solver/analysis/PressureMinimum.h"
#include "solver/boundarylayer/BoundaryLayer.h"

#include <QLocale>
#include <QPointF>
#include <QString>
#include <QVector>

struct LayerPlace {
    enum class Kind { Transition, Bubble, Separation };
    Kind kind = Kind::Transition;
    orvek::Surface surface = orvek::Surface::Upper;
    double x = 0;   // x/c, as the core states it
    QPointF at;     // the surface point there
    QString label;  // "transition 0.42", in the user's locale
};

// The transition (where it comes before the trailing edge), the start of a laminar bubble and the
// separation of each side.
QVector<LayerPlace> layerPlaces(const orvek::ViscousResult& result, const QLocale& locale = QLocale());

// The point of a side at x/c = x past its foremost station, between the stations about it.
QPointF sidePointAt(const orvek::LayerSide& side, double x);

// The side's displacement surface: each station moved by its displacement thickness along the
// outward normal of the surface (the direction between its neighbours turned away from the airfoil).
QVector<QPointF> displacementSurface(const orvek::LayerSide& side);

// The index of the side's first separated station (its station count when it stays attached):
// the displacement surface past it means nothing.
qsizetype firstSeparatedStation(const orvek::LayerSide& side);
