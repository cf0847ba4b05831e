#include "export/FlowTable.h"

#include <charconv>
#include <cmath>

namespace orvek {

namespace {

// The shortest text that reads back unchanged; zero without a sign.
void appendNumber(std::string& out, double value) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, value == 0.0 ? 0.0 : value);
    out.append(buf, r.ptr);
}

}  // namespace

void appendFlowCsvRow(std::string& out, double x, double y, double u, double v, double cp, double psi) {
    appendNumber(out, x);
    out += ',';
    appendNumber(out, y);
    if (std::isnan(u)) {
        out += ",,,,\n";
        return;
    }
    for (const double value : {u, v, cp, psi}) {
        out += ',';
        appendNumber(out, value);
    }
    out += '\n';
}

}  // namespace orvek
