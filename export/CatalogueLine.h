#pragma once
// One airfoil line of the catalogue "ORVEK_Input.txt", as the measurement of an airfoil writes it.

#include "solver/analysis/Describe.h"

#include <string>

namespace orvek {

// "Delta,Gama,xDltC,Tau,F,G,m": the measured values to 4, 4, 4 and 2 decimals (ties to even),
// F, G and m in their shortest form, so the line reads back as the same airfoil.
std::string catalogueLine(const AirfoilGeometry& g, const Airfoil& airfoil);

}  // namespace orvek
