#include "export/FlowTable.h"

#include "export/NumberFormat.h"

#include <cmath>
#include <string>

namespace orvek {

void writeFlowCsvHeader(TextOutput& out) { out << "x,y,u,v,Cp,psi\n"; }

void writeFlowCsvRows(TextOutput& out, const FlowSamples& s, std::size_t count) {
    std::string row;
    for (std::size_t k = 0; k < count; ++k) {
        row.clear();
        appendShortest(row, s.x[k]);
        row += ',';
        appendShortest(row, s.y[k]);
        if (std::isnan(s.u[k])) {
            row += ",,,,\n";
        } else {
            for (const double value : {s.u[k], s.v[k], s.cp[k], s.psi[k]}) {
                row += ',';
                appendShortest(row, value);
            }
            row += '\n';
        }
        out << row;
    }
}

}  // namespace orvek
