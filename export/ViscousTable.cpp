#include "export/ViscousTable.h"

#include "export/CsvWriter.h"

namespace orvek {

namespace {

void optionalValue(JsonWriter& json, const std::optional<double>& v) {
    if (v) json.value(*v);
    else json.null();
}

void viscousMembers(JsonWriter& json, const ViscousResult& r) {
    json.key("Re").value(r.Re).key("Ncrit").value(r.Ncrit);
    json.key("CD").value(r.CD).key("CDf").value(r.CDf).key("CDp").value(r.CDp);
    json.key("transition").beginObject().key("upper").value(r.upper.transition);
    json.key("lower").value(r.lower.transition).endObject();
    json.key("separation").beginObject().key("upper");
    optionalValue(json, r.upper.separation);
    json.key("lower");
    optionalValue(json, r.lower.separation);
    json.endObject();
    json.key("valid").boolean(r.valid);
    json.key("flags").beginArray();
    for (const ViscousFlag& f : r.flags) {
        json.beginObject().key("kind").value(flagKindName(f.kind)).key("surface").value(surfaceName(f.surface));
        json.key("x").value(f.x).key("invalidates").boolean(f.invalidates);
        json.key("message").value(f.sentence).endObject();
    }
    json.endArray();
}

}  // namespace

void writeViscousMember(JsonWriter& json, const ViscousResult& r) {
    json.key("viscous").beginObject();
    viscousMembers(json, r);
    json.endObject();
}

void writeCompressibleMember(JsonWriter& json, const CompressibleResult& c) {
    json.key("compressible").beginObject();
    json.key("M").value(c.M).key("CL").value(c.CL).key("CMc4").value(c.CMc4).key("CpMin").value(c.CpMin);
    json.key("criticalMach").value(c.criticalMach).key("supersonic").boolean(c.supersonic);
    json.endObject();
}

void writeBoundaryLayerCsv(TextOutput& out, const ViscousResult& r) {
    CsvWriter csv(out);
    csv.header({"side", "s", "x", "y", "Ue", "theta", "deltaStar", "H", "Cf", "N", "state"});
    for (const LayerSide* side : {&r.upper, &r.lower}) {
        for (const LayerStation& st : side->stations) {
            csv.field(surfaceName(side->surface)).field(st.s).field(st.x).field(st.y).field(st.Ue).field(st.theta);
            csv.field(st.deltaStar).field(st.H).field(st.Cf).field(st.N).field(layerStateName(st.state)).endLine();
        }
    }
}

void writeBoundaryLayerJson(TextOutput& out, const ViscousResult& r) {
    JsonWriter json(out);
    json.beginObject();
    viscousMembers(json, r);
    for (const LayerSide* side : {&r.upper, &r.lower}) {
        json.lineBreak("").key(surfaceName(side->surface)).beginObject();
        const auto column = [&](const char* name, double LayerStation::*member) {
            json.lineBreak("  ").key(name).beginArray(JsonWriter::Spacing::Tight);
            for (const LayerStation& st : side->stations) json.value(st.*member);
            json.endArray();
        };
        column("s", &LayerStation::s);
        column("x", &LayerStation::x);
        column("y", &LayerStation::y);
        column("Ue", &LayerStation::Ue);
        column("theta", &LayerStation::theta);
        column("deltaStar", &LayerStation::deltaStar);
        column("H", &LayerStation::H);
        column("Cf", &LayerStation::Cf);
        column("N", &LayerStation::N);
        json.lineBreak("  ").key("state").beginArray(JsonWriter::Spacing::Tight);
        for (const LayerStation& st : side->stations) json.value(layerStateName(st.state));
        json.endArray().endObject();
    }
    json.lineBreak("").endObject().finish();
}

}  // namespace orvek
