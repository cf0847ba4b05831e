#include "export/FlowTable.h"

#include "export/NumberFormat.h"

#include <cmath>

namespace orvek {

void appendFlowCsvRow(std::string& out, double x, double y, double u, double v, double cp, double psi) {
    appendShortest(out, x);
    out += ',';
    appendShortest(out, y);
    if (std::isnan(u)) {
        out += ",,,,\n";
        return;
    }
    for (const double value : {u, v, cp, psi}) {
        out += ',';
        appendShortest(out, value);
    }
    out += '\n';
}

}  // namespace orvek
