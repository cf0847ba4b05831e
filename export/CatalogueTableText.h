#pragma once
// A catalogue calculated at one angle of attack, as a table: CSV, or JSON with the catalogue's
// name, the angle and the point count. One line per airfoil: its number, the airfoil, the
// catalogue's own values and either the results or why there are none.

#include "export/CsvWriter.h"
#include "export/JsonWriter.h"
#include "solver/Airfoil.h"
#include "solver/analysis/Describe.h"
#include "solver/Expected.h"
#include "solver/analysis/Sweep.h"
#include "solver/boundarylayer/BoundaryLayer.h"

#include <cstddef>
#include <string>

namespace orvek {

// One airfoil of the table. `catalogued` holds the catalogue's columns Delta, Gama, xDltC, Tau.
struct CatalogueTableEntry {
    std::size_t row = 0;  // from 1
    Airfoil airfoil;
    AirfoilGeometry catalogued;
    const Expected<SweepRow>* result = nullptr;  // the results at the angle, or the reason
    const Expected<ViscousResult>* viscous = nullptr;  // with table --re: the estimate, or the reason
};

// "row,F,G,m,Delta,Gama,xDltC,Tau,CL,CMc4,Alfa0,CpMin,xCpMin,problem" and a line per airfoil; an
// airfoil without results has empty result fields and its reason in the problem column. With the
// viscous estimate a column CD stands before problem (empty, with the reason, where there is none).
class CatalogueTableCsvWriter {
public:
    explicit CatalogueTableCsvWriter(TextOutput& out, bool viscous = false);
    void row(const CatalogueTableEntry& entry);

private:
    CsvWriter csv_;
    bool viscous_ = false;
};

// {"catalogue": NAME, "alpha": , "np": , "rows": [ an object per airfoil on its own line ]}; the
// results of an airfoil without them are null, its reason in "problem" (null when it has them);
// with the viscous estimate each row has "CD" too.
class CatalogueTableJsonWriter {
public:
    CatalogueTableJsonWriter(TextOutput& out, const std::string& catalogue, double AlfaD, double N1);
    void row(const CatalogueTableEntry& entry);
    void finish();

private:
    JsonWriter json_;
};

}  // namespace orvek
