#include "export/CaseJson.h"

#include "export/JsonWriter.h"
#include "export/ViscousTable.h"

#include <vector>

namespace orvek {

namespace {

void pointArray(JsonWriter& json, const std::vector<double>& values, const SurfacePoints& points) {
    json.beginArray(JsonWriter::Spacing::Tight);
    for (std::size_t i = 1; i < values.size(); ++i) {
        if (points.isSet(i)) json.value(values[i]);
        else json.null();
    }
    json.endArray();
}

}  // namespace

void writeCaseJson(TextOutput& out, const SolverResult& result,
                   const std::optional<std::vector<FlowPoint>>& stagnation, const ViscousResult* viscous,
                   const CompressibleResult* compressible) {
    JsonWriter json(out, JsonWriter::Numbers::SeventeenDigits);
    json.beginObject();
    const Coefficients& c = result.coefficients;
    json.key("CL").value(c.CL).key("CMc4").value(c.CMc4).key("Alfa0").value(c.Alfa0);
    json.key("x");
    pointArray(json, result.points.x, result.points);
    json.key("y");
    pointArray(json, result.points.y, result.points);
    json.key("OneMinusCp");
    pointArray(json, result.points.Cu, result.points);
    json.key("stagnation");
    if (stagnation) {
        json.beginArray();
        for (const FlowPoint& p : *stagnation) json.beginArray().value(p.x).value(p.y).endArray();
        json.endArray();
    } else {
        json.null();
    }
    if (viscous) writeViscousMember(json, *viscous);
    if (compressible) writeCompressibleMember(json, *compressible);
    json.endObject().finish();
}

}  // namespace orvek
