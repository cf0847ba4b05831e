#pragma once
// A polar as a CSV table, as orvek-batch sweep prints it and the polar window saves it.

#include "solver/Sweep.h"

#include <string>
#include <vector>

namespace orvek {

// "alpha,CL,CMc4,Alfa0,CpMin,xCpMin,surfaceCpMin", then one line per row: numbers in the shortest
// text that reads back unchanged (a negative zero as 0), a point as decimal separator whatever
// the locale, LF line ends.
std::string polarCsv(const std::vector<SweepRow>& rows);

}  // namespace orvek
