#include "export/PolarTable.h"

namespace orvek {

PolarCsvWriter::PolarCsvWriter(TextOutput& out, bool viscous) : csv_(out) {
    if (viscous) {
        csv_.header({"alpha", "CL", "CMc4", "Alfa0", "CpMin", "xCpMin", "surfaceCpMin", "CD", "CDf", "CDp", "xtrUpper",
                     "xtrLower", "LD", "valid"});
    } else {
        csv_.header({"alpha", "CL", "CMc4", "Alfa0", "CpMin", "xCpMin", "surfaceCpMin"});
    }
}

void PolarCsvWriter::row(const SweepRow& r, const ViscousResult* v) {
    const Coefficients& c = r.coefficients;
    csv_.field(r.alphaDegrees).field(c.CL).field(c.CMc4).field(c.Alfa0).field(r.CpMin).field(r.xCpMin);
    csv_.field(surfaceName(r.surface));
    if (v) {
        csv_.field(v->CD).field(v->CDf).field(v->CDp).field(v->upper.transition).field(v->lower.transition);
        csv_.field(c.CL / v->CD).field(v->valid ? "true" : "false");
    }
    csv_.endLine();
}

PolarJsonWriter::PolarJsonWriter(TextOutput& out, const SweepInput& sweep) : json_(out) {
    json_.beginObject();
    const Airfoil& a = sweep.airfoil;
    json_.key("F").value(a.F).key("G").value(a.G).key("m").value(a.m);
    json_.key("np").value(sweep.N1).key("rows").beginArray();
}

void PolarJsonWriter::row(const SweepRow& r, const ViscousResult* v) {
    json_.lineBreak("  ").beginObject();
    const Coefficients& c = r.coefficients;
    json_.key("alpha")
        .value(r.alphaDegrees)
        .key("CL")
        .value(c.CL)
        .key("CMc4")
        .value(c.CMc4)
        .key("Alfa0")
        .value(c.Alfa0);
    json_.key("CpMin").value(r.CpMin).key("xCpMin").value(r.xCpMin).key("surfaceCpMin").value(surfaceName(r.surface));
    if (v) {
        json_.key("CD").value(v->CD).key("CDf").value(v->CDf).key("CDp").value(v->CDp);
        json_.key("xtrUpper").value(v->upper.transition).key("xtrLower").value(v->lower.transition);
        json_.key("LD").value(c.CL / v->CD).key("valid").boolean(v->valid);
    }
    json_.endObject();
}

void PolarJsonWriter::finish() { json_.lineBreak("").endArray().endObject().finish(); }

}  // namespace orvek
