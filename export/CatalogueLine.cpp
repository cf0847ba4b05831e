#include "export/CatalogueLine.h"

#include "export/NumberFormat.h"

namespace orvek {

std::string catalogueLine(const AirfoilGeometry& g, const Airfoil& airfoil) {
    return roundedDisplayText(g.thickness, 4) + "," + roundedDisplayText(g.camber, 4) + "," +
           roundedDisplayText(g.thicknessPosition, 4) + "," + roundedDisplayText(g.teAngleDegrees, 2) + "," +
           shortestText(airfoil.F) + "," + shortestText(airfoil.G) + "," + shortestText(airfoil.m);
}

}  // namespace orvek
