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

void PolarCsvWriter::row(const SweepRow& r) {
    const Coefficients& c = r.coefficients;
    csv_.field(r.alphaDegrees).field(c.CL).field(c.CMc4).field(c.Alfa0).field(r.CpMin).field(r.xCpMin);
    csv_.field(surfaceName(r.surface));
    if (const std::optional<SweepDrag>& d = r.drag) {
        csv_.field(d->CD).field(d->CDf).field(d->CDp).field(d->transitionUpper).field(d->transitionLower);
        csv_.field(c.CL / d->CD).field(d->valid ? "true" : "false");
    }
    csv_.endLine();
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
    json_.key("alpha")
        .value(r.alphaDegrees)
        .key("CL")
        .value(c.CL)
        .key("CMc4")
        .value(c.CMc4)
        .key("Alfa0")
        .value(c.Alfa0);
    json_.key("CpMin").value(r.CpMin).key("xCpMin").value(r.xCpMin).key("surfaceCpMin").value(surfaceName(r.surface));
    if (const std::optional<SweepDrag>& d = r.drag) {
        json_.key("CD").value(d->CD).key("CDf").value(d->CDf).key("CDp").value(d->CDp);
        json_.key("xtrUpper").value(d->transitionUpper).key("xtrLower").value(d->transitionLower);
        json_.key("LD").value(c.CL / d->CD).key("valid").boolean(d->valid);
    }
    json_.endObject();
}

void PolarJsonWriter::finish() { json_.lineBreak("").endArray().endObject().finish(); }

}  // namespace orvek
