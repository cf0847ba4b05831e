#pragma once
// The memory of the main window: the airfoil catalogue loaded at start-up, the selected airfoil,
// the two values typed for the last calculation and the results of that calculation.

#include "solver/Airfoil.h"
#include "solver/Constants.h"
#include "solver/analysis/Describe.h"
#include "solver/surface/SurfacePoints.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace orvek {

// Slots 0..50: slot i describes the i-th airfoil of the catalogue file, slot 0 only keeps the title.
constexpr std::size_t CatalogueSlots = 51;
constexpr int MaxAirfoils = 50;

// One airfoil line of the catalogue: the seven numbers Delta, Gama, xDltC, Tau, F, G, m and the
// line's text. An unset row holds empty text and zeros.
struct CatalogueRow {
    AirfoilGeometry geometry;        // Delta, Gama, xDltC, Tau as the file states them (for the result file)
    Airfoil airfoil{0.0, 0.0, 0.0};  // F, G, m, handed to the solver
    std::string text;                // the line as in the file, decoded to UTF-8 for display
};

struct CaseState {
    // The catalogue: slot i holds the i-th airfoil line, slot 0 only the title (in its text).
    std::array<CatalogueRow, CatalogueSlots> AirfoilRow{};

    int SelIndex = 0;
    int AirfoilCount = 0;
    // Constants, set when the state is created, whether or not a catalogue is ever loaded.
    double Pi = orvek::Pi;  // 4*atan(1)
    int Chord = 1;

    // Inputs and results of the last calculation; unset until the first one succeeds.
    std::optional<double> NP;
    SurfacePoints points;  // x, y, OneMinusCp
    // The arrays of the case before the last one, kept only for their memory: the next calculation
    // fills them and, when it succeeds, they change places with `points`.
    SurfacePoints spare;
    std::optional<double> AlfaD;
    std::optional<Coefficients> coefficients;  // CL, CMc4 and Alfa0

    const std::vector<double>& x() const { return points.x; }
    const std::vector<double>& y() const { return points.y; }
    const std::vector<double>& OneMinusCp() const { return points.Cu; }
};

}  // namespace orvek
