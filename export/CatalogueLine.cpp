#include "export/CatalogueLine.h"

#include "export/NumberFormat.h"

namespace orvek {

std::string catalogueLine(const AirfoilGeometry& g, double F, double G, double m) {
    return roundedDisplayText(g.Delta, 4) + "," + roundedDisplayText(g.Gama, 4) + "," + roundedDisplayText(g.xDltC, 4) +
           "," + roundedDisplayText(g.Tau, 2) + "," + shortestText(F) + "," + shortestText(G) + "," + shortestText(m);
}

}  // namespace orvek
