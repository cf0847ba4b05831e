#include "export/DesignJson.h"

#include "export/JsonWriter.h"

namespace orvek {

void writeDesignJson(TextOutput& out, const DesignTargets& targets, const AirfoilGeometry& reached,
                     const DesignResult& design, const std::string& line) {
    JsonWriter json(out);
    json.beginObject();
    json.key("targets").beginObject();
    json.key("thickness").value(targets.thickness).key("camber").value(targets.camber);
    json.key("teAngle").value(targets.teAngleDegrees).endObject();
    json.lineBreak(" ").key("reached").beginObject();
    json.key("thickness")
        .value(reached.thickness)
        .key("camber")
        .value(reached.camber)
        .key("teAngle")
        .value(reached.teAngleDegrees);
    json.key("xDltC").value(reached.thicknessPosition).endObject();
    json.lineBreak(" ").key("residuals").beginObject();
    json.key("thickness")
        .value(reached.thickness - targets.thickness)
        .key("camber")
        .value(reached.camber - targets.camber);
    json.key("teAngle").value(reached.teAngleDegrees - targets.teAngleDegrees).endObject();
    const Airfoil& a = design.airfoil;
    json.lineBreak(" ").key("F").value(a.F).key("G").value(a.G).key("m").value(a.m);
    json.key("line").value(line).endObject().finish();
}

}  // namespace orvek
