#include "export/PolarTable.h"

#include "solver/ShortestText.h"

namespace orvek {

std::string polarCsv(const std::vector<SweepRow>& rows) {
    const auto text = [](double v) { return shortestText(v == 0.0 ? 0.0 : v); };
    std::string out = "alpha,CL,CMc4,Alfa0,CpMin,xCpMin,surfaceCpMin\n";
    for (const SweepRow& r : rows) {
        out += text(r.alpha) + ',' + text(r.coefficients.CL) + ',' + text(r.coefficients.CMc4) + ',' +
               text(r.coefficients.Alfa0) + ',' + text(r.CpMin) + ',' + text(r.xCpMin) + ',' + surfaceName(r.surface) +
               '\n';
    }
    return out;
}

}  // namespace orvek
