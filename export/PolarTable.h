#pragma once
// A polar as a table, as orvek-batch sweep prints it and the polar window saves it: CSV, or JSON
// with the airfoil. Both write row by row, so a sweep can hand each row on as it is calculated.

#include "export/CsvWriter.h"
#include "export/JsonWriter.h"
#include "export/TextOutput.h"
#include "solver/analysis/Sweep.h"

#include <string>
#include <vector>

namespace orvek {

// "alpha,CL,CMc4,Alfa0,CpMin,xCpMin,surfaceCpMin", then one line per row: numbers in the shortest
// text that reads back unchanged (a negative zero as 0), LF line ends. The header is written when
// the writer is made. A drag polar adds "CD,CDf,CDp,xtrUpper,xtrLower,LD,valid" (L/D = CL/CD),
// from each row's drag.
class PolarCsvWriter {
public:
    explicit PolarCsvWriter(TextOutput& out, bool viscous = false);
    void row(const SweepRow& r);

private:
    CsvWriter csv_;
};

// {"F": F, "G": G, "m": m, "np": N, "rows": [ one object per row on its own line ]}: the header
// when the writer is made, the rows as they come, the closing brackets at finish(). A drag polar's
// rows add CD, CDf, CDp, xtrUpper, xtrLower, LD and valid.
class PolarJsonWriter {
public:
    PolarJsonWriter(TextOutput& out, const SweepInput& sweep);
    void row(const SweepRow& r);
    void finish();

private:
    JsonWriter json_;
};

}  // namespace orvek
