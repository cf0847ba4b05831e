#pragma once
// The two plots of a case as the window designs them: the profile on `profil` and the 1-Cp
// distribution on `pressure`.

#include <QRgb>

#include <cstddef>
#include <vector>

class PlotArea;

inline constexpr QRgb AxisColour = 0xFF111111;   // (17, 17, 17)
inline constexpr QRgb CurveColour = 0xFFFF1111;  // (255, 17, 17)

// What a screen reader says of a plot area before the first case.
inline constexpr const char* NothingDrawn = "Empty until an airfoil is calculated.";

// Redraws both plots from points 1..N1 in index order (open polylines of N1 - 1 segments; the
// trailing edge is stored as point 1 and point N1, so the contour closes on its own). Entries
// beyond an array read as 0. When no 1-Cp of points 1..N1-1 is positive the pressure plot uses a
// unit height instead of the peak. Each area's accessible description then says in words what
// it shows.
void drawCase(PlotArea& profil, PlotArea& pressure, std::size_t N1, const std::vector<double>& x,
              const std::vector<double>& y, const std::vector<double>& Cu);
