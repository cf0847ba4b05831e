#include "export/PolarTable.h"

namespace orvek {

PolarCsvWriter::PolarCsvWriter(TextOutput& out) : csv_(out) {
    csv_.header({"alpha", "CL", "CMc4", "Alfa0", "CpMin", "xCpMin", "surfaceCpMin"});
}

void PolarCsvWriter::row(const SweepRow& r) {
    csv_.field(r.alpha).field(r.CL).field(r.CMc4).field(r.Alfa0).field(r.CpMin).field(r.xCpMin);
    csv_.field(surfaceName(r.surface)).endLine();
}

PolarJsonWriter::PolarJsonWriter(TextOutput& out, const SweepInput& sweep) : json_(out) {
    json_.beginObject();
    json_.key("F").value(sweep.F).key("G").value(sweep.G).key("m").value(sweep.m);
    json_.key("np").value(sweep.N1).key("rows").beginArray();
}

void PolarJsonWriter::row(const SweepRow& r) {
    json_.lineBreak("  ").beginObject();
    json_.key("alpha").value(r.alpha).key("CL").value(r.CL).key("CMc4").value(r.CMc4).key("Alfa0").value(r.Alfa0);
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
