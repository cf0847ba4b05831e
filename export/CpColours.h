#pragma once
// The colours of the pressure field: viridis, a colour map of even perceived steps that reads in
// grey as a plain dark-to-light ramp and stays distinct for the common kinds of colour blindness.
// One scale for every picture of the field: the desktop flow window and the web page.

#include <array>
#include <cstddef>
#include <cstdint>

namespace orvek {

using Rgb = std::array<std::uint8_t, 3>;

// The colours as a table of ViridisSize entries from t = 0 to t = 1, for a loop over many pixels.
constexpr std::size_t ViridisSize = 1024;
const std::array<Rgb, ViridisSize>& viridisTable();

// The colour at t in [0, 1] (dark blue-violet at 0, yellow at 1), the table's nearest entry;
// t outside is clamped, a NaN taken as 0.
Rgb viridis(double t);

// The fixed scale of the pressure coefficient: Cp from CpColourLow (strong suction, darkest) to
// CpColourHigh (the stagnation points, brightest), so a colour means the same pressure whatever
// the zoom, the pan, the plane or the angle.
constexpr double CpColourLow = -2.0, CpColourHigh = 1.0;

}  // namespace orvek
