#pragma once
// The memory of the main window: the airfoil catalogue loaded at start-up, the selected airfoil,
// the two values typed for the last calculation and the results of that calculation.

#include "solver/Constants.h"
#include "solver/SurfacePoints.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace orvek {

// Slots 0..50: slot i describes the i-th airfoil of the catalogue file, slot 0 only keeps the title.
constexpr std::size_t CatalogueSlots = 51;
constexpr int MaxAirfoils = 50;

struct CaseState {
    // Catalogue tables; unset slots hold empty text and 0.
    std::array<std::string, CatalogueSlots> AirfoilRow{};
    std::array<double, CatalogueSlots> F{};
    std::array<double, CatalogueSlots> G{};
    std::array<double, CatalogueSlots> m{};
    std::array<double, CatalogueSlots> Delta{};
    std::array<double, CatalogueSlots> Gama{};
    std::array<double, CatalogueSlots> xDltC{};
    std::array<double, CatalogueSlots> Tau{};

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
    std::optional<double> CL;
    std::optional<double> CMc4;
    std::optional<double> Alfa0;

    const std::vector<double>& x() const { return points.x; }
    const std::vector<double>& y() const { return points.y; }
    const std::vector<double>& OneMinusCp() const { return points.Cu; }
};

}  // namespace orvek
