#include "export/CatalogueTableText.h"

namespace orvek {

CatalogueTableCsvWriter::CatalogueTableCsvWriter(TextOutput& out, bool viscous) : csv_(out), viscous_(viscous) {
    if (viscous) {
        csv_.header({"row", "F", "G", "m", "Delta", "Gama", "xDltC", "Tau", "CL", "CMc4", "Alfa0", "CpMin", "xCpMin",
                     "CD", "problem"});
    } else {
        csv_.header({"row", "F", "G", "m", "Delta", "Gama", "xDltC", "Tau", "CL", "CMc4", "Alfa0", "CpMin", "xCpMin",
                     "problem"});
    }
}

void CatalogueTableCsvWriter::row(const CatalogueTableEntry& e) {
    const AirfoilGeometry& c = e.catalogued;
    csv_.field(e.row).field(e.airfoil.F).field(e.airfoil.G).field(e.airfoil.m);
    csv_.field(c.thickness).field(c.camber).field(c.thicknessPosition).field(c.teAngleDegrees);
    const Expected<SweepRow>& r = *e.result;
    if (r) {
        const Coefficients& k = r->coefficients;
        csv_.field(k.CL).field(k.CMc4).field(k.Alfa0).field(r->CpMin).field(r->xCpMin);
        if (!viscous_) {
            csv_.emptyField();
        } else if (e.viscous && *e.viscous) {
            csv_.field((*e.viscous)->CD).emptyField();
        } else {
            csv_.emptyField().field(e.viscous ? e.viscous->error() : std::string());
        }
    } else {
        csv_.emptyField().emptyField().emptyField().emptyField().emptyField();
        if (viscous_) csv_.emptyField();
        csv_.field(r.error());
    }
    csv_.endLine();
}

CatalogueTableJsonWriter::CatalogueTableJsonWriter(TextOutput& out, const std::string& catalogue, double AlfaD,
                                                   double N1)
    : json_(out) {
    json_.beginObject().key("catalogue").value(catalogue).key("alpha").value(AlfaD).key("np").value(N1);
    json_.key("rows").beginArray();
}

void CatalogueTableJsonWriter::row(const CatalogueTableEntry& e) {
    const AirfoilGeometry& c = e.catalogued;
    json_.lineBreak("  ").beginObject();
    json_.key("row").value(e.row).key("F").value(e.airfoil.F).key("G").value(e.airfoil.G).key("m").value(e.airfoil.m);
    json_.key("Delta")
        .value(c.thickness)
        .key("Gama")
        .value(c.camber)
        .key("xDltC")
        .value(c.thicknessPosition)
        .key("Tau")
        .value(c.teAngleDegrees);
    const Expected<SweepRow>& r = *e.result;
    if (r) {
        const Coefficients& k = r->coefficients;
        json_.key("CL").value(k.CL).key("CMc4").value(k.CMc4).key("Alfa0").value(k.Alfa0);
        json_.key("CpMin").value(r->CpMin).key("xCpMin").value(r->xCpMin);
        if (e.viscous && *e.viscous) {
            json_.key("CD").value((*e.viscous)->CD).key("problem").null();
        } else if (e.viscous) {
            json_.key("CD").null().key("problem").value(e.viscous->error());
        } else {
            json_.key("problem").null();
        }
    } else {
        json_.key("CL").null().key("CMc4").null().key("Alfa0").null().key("CpMin").null().key("xCpMin").null();
        if (e.viscous) json_.key("CD").null();
        json_.key("problem").value(r.error());
    }
    json_.endObject();
}

void CatalogueTableJsonWriter::finish() { json_.lineBreak("").endArray().endObject().finish(); }

}  // namespace orvek
