#include "export/CatalogueLine.h"

#include "export/NumberFormat.h"

namespace orvek {

std::string catalogueLine(const AirfoilGeometry& g, const Airfoil& airfoil) {
    return roundedDisplayText(g.Delta, 4) + "," + roundedDisplayText(g.Gama, 4) + "," + roundedDisplayText(g.xDltC, 4) +
           "," + roundedDisplayText(g.Tau, 2) + "," + shortestText(airfoil.F) + "," + shortestText(airfoil.G) + "," +
           shortestText(airfoil.m);
}

}  // namespace orvek
