#pragma once
// The viscous estimate as orvek-batch prints it: the "viscous" and "compressible" members of a
// case's JSON, and the boundary layer's stations as CSV or JSON.

#include "export/JsonWriter.h"
#include "export/TextOutput.h"
#include "solver/boundarylayer/BoundaryLayer.h"

namespace orvek {

// "viscous": {"Re", "Ncrit", "CD", "CDf", "CDp", "transition": {"upper", "lower"}, "separation":
// {"upper", "lower"} (x/c or null), "valid", "flags": [{"kind", "surface", "x", "invalidates",
// "message"}]} as members of the object being written.
void writeViscousMember(JsonWriter& json, const ViscousResult& r);

// "compressible": {"M", "CL", "CMc4", "CpMin", "criticalMach", "supersonic"}.
void writeCompressibleMember(JsonWriter& json, const CompressibleResult& c);

// "side,s,x,y,Ue,theta,deltaStar,H,Cf,N,state", one line per station, the upper side first.
void writeBoundaryLayerCsv(TextOutput& out, const ViscousResult& r);

// The "viscous" members at the top, then "upper" and "lower", each with arrays s, x, y, Ue,
// theta, deltaStar, H, Cf, N and state.
void writeBoundaryLayerJson(TextOutput& out, const ViscousResult& r);

}  // namespace orvek
