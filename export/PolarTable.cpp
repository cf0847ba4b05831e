#include "export/PolarTable.h"

namespace orvek {

PolarCsvWriter::PolarCsvWriter(TextOutput& out) : csv_(out) {
    csv_.header({"alpha", "CL", "CMc4", "Alfa0", "CpMin", "xCpMin", "surfaceCpMin"});
}

void PolarCsvWriter::row(const SweepRow& r) {
    const Coefficients& c = r.coefficients;
    csv_.field(r.alpha).field(c.CL).field(c.CMc4).field(c.Alfa0).field(r.CpMin).field(r.xCpMin);
    csv_.field(surfaceName(r.surface)).endLine();
}

PolarJsonWriter::PolarJsonWriter(TextOutput& out, const SweepInput& sweep) : json_(out) {
    json_.beginObject();
    const Airfoil& a = sweep.airfoil;
    json_.key("F").value(a.F).key("G").value(a.G).key("m").value(a.m);
    json_.key("np").value(sweep.N1).key("rows").beginArray();
}

void PolarJsonWriter::row(const SweepRow& r) {
    json_.lineBreak("  ").beginObject();
    const Coefficients& c = r.coefficients;
    json_.key("alpha").value(r.alpha).key("CL").value(c.CL).key("CMc4").value(c.CMc4).key("Alfa0").value(c.Alfa0);
    json_.key("CpMin").value(r.CpMin).key("xCpMin").value(r.xCpMin).key("surfaceCpMin").value(surfaceName(r.surface));
    json_.endObject();
}

void PolarJsonWriter::finish() { json_.lineBreak("").endArray().endObject().finish(); }

std::string polarCsv(const std::vector<SweepRow>& rows) {
    StringOutput out;
    PolarCsvWriter csv(out);
    for (const SweepRow& r : rows) csv.row(r);
    return std::move(out).text();
}

}  // namespace orvek
