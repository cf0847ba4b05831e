#pragma once
// The memory of the main window: the airfoil catalogue loaded at start-up, the selected airfoil,
// the two values typed for the last calculation and the results of that calculation.

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace orvek {

// Slots 0..50: slot i describes the i-th airfoil of the catalogue file, slot 0 only keeps the title.
constexpr std::size_t CatalogueSlots = 51;
constexpr int MaxAirfoils = 50;

// Surface points of one calculation, indices 0..NP. Index 0 is never used; entries the solver
// does not reach (the leading edge of an F = 0 airfoil) are unset: they hold 0, which is how
// every reader treats them, and their indices are listed in `unset` (ascending, index 0 excluded).
struct SurfacePoints {
    std::vector<double> x;
    std::vector<double> y;
    std::vector<double> Cu;  // 1-Cp
    std::vector<std::size_t> unset;

    std::size_t size() const { return x.size(); }
    bool isSet(std::size_t i) const {
        return i > 0 && i < x.size() && !std::binary_search(unset.begin(), unset.end(), i);
    }
};

// Reads entry i of an array, 0 when it lies outside (the "unset reads as 0" rule).
inline double entryOrZero(const std::vector<double>& a, std::size_t i) { return i < a.size() ? a[i] : 0.0; }

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
    double Pi = 0.0;   // set at start-up to 4*atan(1)
    int Chord = 0;     // set at start-up to 1

    // Inputs and results of the last calculation; unset until the first one succeeds.
    std::optional<double> NP;
    SurfacePoints points;  // x, y, OneMinusCp
    std::optional<double> AlfaD;
    std::optional<double> CL;
    std::optional<double> CMc4;
    std::optional<double> Alfa0;

    const std::vector<double>& x() const { return points.x; }
    const std::vector<double>& y() const { return points.y; }
    const std::vector<double>& OneMinusCp() const { return points.Cu; }
};

}  // namespace orvek
