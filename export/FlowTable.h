#pragma once
// The flow at points as CSV: "x,y,u,v,Cp,psi", numbers as the shortest text that reads back
// unchanged; a point inside the airfoil keeps its x and y and has the four values empty.

#include <string>

namespace orvek {

inline const char* const FlowCsvHeader = "x,y,u,v,Cp,psi\n";

// Appends one row; a NaN u marks a point inside the airfoil.
void appendFlowCsvRow(std::string& out, double x, double y, double u, double v, double cp, double psi);

}  // namespace orvek
